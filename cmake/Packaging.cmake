# Installing Pallqa Tuner where a Linux desktop finds it — the program, its
# resources (which the program looks for under share/pallqa-tuner/ beside its
# bin/ folder), a menu entry, the icon, the AppStream metainfo, the manual page,
# the bash completion and the copyright file — and the Debian package made from
# that installation by `cpack -G DEB`.
if(TARGET pallqa-tuner)
  install(TARGETS pallqa-tuner RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(DIRECTORY "${PALLQA_RESOURCES_DIR}/" DESTINATION "${CMAKE_INSTALL_DATADIR}/pallqa-tuner/resources")
install(FILES "${CMAKE_SOURCE_DIR}/packaging/pallqa-tuner.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${PALLQA_RESOURCES_DIR}/pallqa-tuner.png" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps")
install(FILES "${PALLQA_RESOURCES_DIR}/pallqa-tuner.svg" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
install(FILES "${CMAKE_SOURCE_DIR}/packaging/com.tarvelolabs.pallqatuner.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${CMAKE_SOURCE_DIR}/packaging/pallqa-tuner.bash-completion"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/bash-completion/completions" RENAME pallqa-tuner)

# Where a Debian package keeps its copyright file: under the package's name.
install(FILES "${CMAKE_SOURCE_DIR}/packaging/copyright" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/pallqa-tuner")

# The manual page, made at build time from the program's own --help and
# --version, so it never says other than the program does. help2man writes the
# page in the encoding of the locale it runs under: a UTF-8 one, or "A#/B♭"
# loses its flat.
if(TARGET pallqa-tuner)
  find_program(PALLQA_HELP2MAN help2man REQUIRED)
  set(PALLQA_MAN_PAGE "${CMAKE_BINARY_DIR}/pallqa-tuner.1")
  add_custom_command(OUTPUT "${PALLQA_MAN_PAGE}"
    COMMAND "${PALLQA_HELP2MAN}" --no-info --section 1 --locale C.UTF-8
            --name "tuner and chord chart for a five-course, ten-string instrument"
            --output "${PALLQA_MAN_PAGE}" "$<TARGET_FILE:pallqa-tuner>"
    DEPENDS pallqa-tuner
    COMMENT "Writing the manual page from pallqa-tuner --help"
    VERBATIM)
  add_custom_target(pallqa-tuner-man-page ALL DEPENDS "${PALLQA_MAN_PAGE}")
  install(FILES "${PALLQA_MAN_PAGE}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endif()

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
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-dejavu-core")
# The libraries the program links (Qt, PortAudio, libsndfile, ...) become the
# package's dependencies where dpkg-shlibdeps can work them out.
find_program(PALLQA_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(PALLQA_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6, libportaudio2, libsndfile1, libsoxr0")
endif()
include(CPack)
