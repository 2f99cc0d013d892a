// The web transport module's entry point (cmake/Modules.cmake): the only name
// the program looks up in it.
#include "platform/net/curl/CurlHttpTransport.h"

extern "C" platform::HttpTransport* pallqaMakeCurlTransport() {
    return new platform::net::curl::CurlHttpTransport();
}
