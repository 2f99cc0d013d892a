/* Not a benchmark: the floor startup_compare.py holds the program's start
 * against. It links only what analyzing a recording needs (libsndfile,
 * libsoxr, KISS FFT), opens the file given, prepares a resampler and a
 * transform, and prints one line. */

#include <kissfft/kiss_fftr.h>
#include <sndfile.h>
#include <soxr.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: plain_open FILE\n");
        return 2;
    }
    SF_INFO info = {0};
    SNDFILE* file = sf_open(argv[1], SFM_READ, &info);
    if (!file) {
        fprintf(stderr, "%s: %s\n", argv[1], sf_strerror(NULL));
        return 1;
    }
    soxr_error_t error = NULL;
    soxr_t resampler = soxr_create((double)info.samplerate, 14039.0, 1, &error, NULL, NULL, NULL);
    kiss_fftr_cfg transform = kiss_fftr_alloc(32768, 0, NULL, NULL);
    printf("%d Hz, %d channels, %lld frames\n", info.samplerate, info.channels, (long long)info.frames);
    free(transform);
    soxr_delete(resampler);
    sf_close(file);
    return error ? 1 : 0;
}
