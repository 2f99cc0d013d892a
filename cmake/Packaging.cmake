# Installing Pallqa Tuner where a Linux desktop finds it — the program, its
# resources (which the program looks for under share/pallqa-tuner/ beside its
# bin/ folder), a menu entry and the icon — and the Debian package made from
# that installation by `cpack -G DEB`.
if(TARGET pallqa-tuner)
  install(TARGETS pallqa-tuner RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(DIRECTORY "${PALLQA_RESOURCES_DIR}/" DESTINATION "${CMAKE_INSTALL_DATADIR}/pallqa-tuner/resources")
install(FILES "${CMAKE_SOURCE_DIR}/packaging/pallqa-tuner.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${PALLQA_RESOURCES_DIR}/pallqa-tuner.png" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps")
install(FILES "${PALLQA_RESOURCES_DIR}/pallqa-tuner.svg" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")

set(CPACK_PACKAGE_NAME "pallqa-tuner")
set(CPACK_PACKAGE_VENDOR "Tarvelo Labs")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tuner and chord chart for a five-course, ten-string instrument")
set(CPACK_PACKAGE_DESCRIPTION
    "Pallqa Tuner tunes a five-course, ten-string instrument from the microphone, plays reference tones and string recordings, and shows chord fingerings.")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tarvelo Labs <pallqa-tuner@users.noreply.tarvelolabs.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION "sound")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
# The libraries the program links (Qt, PortAudio, libsndfile, ...) become the
# package's dependencies where dpkg-shlibdeps can work them out.
find_program(PALLQA_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(PALLQA_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6, libportaudio2, libsndfile1, libsoxr0")
endif()
include(CPack)
