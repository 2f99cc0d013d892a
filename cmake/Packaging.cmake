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

# The manual pages, English and Spanish, made at build time from the program's
# own --help and --version in that language, so they never say other than the
# program does; their NAME lines are the "ProgramSummary" of the string tables.
# help2man writes a page in the encoding of the locale it runs under: a UTF-8
# one, or "A#/B♭" loses its flat. English runs under C.UTF-8, which every
# system has; the Spanish locale, which also gives help2man its Spanish
# headings, is compiled into the build tree, so none need be installed.
if(TARGET pallqa-tuner)
  find_program(PALLQA_HELP2MAN help2man REQUIRED)
  find_program(PALLQA_LOCALEDEF localedef REQUIRED)
  set(PALLQA_LOCALES "${CMAKE_BINARY_DIR}/locale")
  add_custom_command(OUTPUT "${PALLQA_LOCALES}/es_ES.UTF-8/LC_CTYPE"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${PALLQA_LOCALES}"
    COMMAND "${PALLQA_LOCALEDEF}" -i es_ES -f UTF-8 "${PALLQA_LOCALES}/es_ES.UTF-8"
    COMMENT "Compiling the Spanish locale for the Spanish manual page"
    VERBATIM)

  # pallqa_man_page(LANGUAGE LOCALE NAME_HEADING PAGE [DEPENDS...]): the page
  # written from the program's help under LOCALE, installed in the manual's
  # folder for LANGUAGE. Its NAME section, which help2man heads NAME_HEADING in
  # that language, comes in a file: help2man would write a summary given on its
  # command line in the wrong encoding.
  function(pallqa_man_page language locale name_heading page)
    set(texts_file "${CMAKE_SOURCE_DIR}/resources/strings/${language}/Localizable.json")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${texts_file}")
    file(READ "${texts_file}" texts)
    string(JSON summary GET "${texts}" "ProgramSummary")
    get_filename_component(folder "${page}" DIRECTORY)
    set(name_section "${folder}/name.h2m")
    file(WRITE "${name_section}" "[${name_heading}]\npallqa-tuner \\- ${summary}\n")
    add_custom_command(OUTPUT "${page}"
      COMMAND "${CMAKE_COMMAND}" -E env "LOCPATH=${PALLQA_LOCALES}"
              "${PALLQA_HELP2MAN}" --no-info --section 1 --locale "${locale}" --include "${name_section}"
              --output "${page}" "$<TARGET_FILE:pallqa-tuner>"
      DEPENDS pallqa-tuner "${name_section}" ${ARGN}
      COMMENT "Writing the ${language} manual page from pallqa-tuner --help"
      VERBATIM)
    set(destination "${CMAKE_INSTALL_MANDIR}/${language}/man1")
    if(language STREQUAL "en")
      set(destination "${CMAKE_INSTALL_MANDIR}/man1")
    endif()
    install(FILES "${page}" DESTINATION "${destination}")
  endfunction()

  set(PALLQA_MAN_PAGE "${CMAKE_BINARY_DIR}/man/en/pallqa-tuner.1")
  set(PALLQA_SPANISH_MAN_PAGE "${CMAKE_BINARY_DIR}/man/es/pallqa-tuner.1")
  pallqa_man_page(en C.UTF-8 NAME "${PALLQA_MAN_PAGE}")
  pallqa_man_page(es es_ES.UTF-8 NOMBRE "${PALLQA_SPANISH_MAN_PAGE}" "${PALLQA_LOCALES}/es_ES.UTF-8/LC_CTYPE")
  add_custom_target(pallqa-tuner-man-page ALL DEPENDS "${PALLQA_MAN_PAGE}" "${PALLQA_SPANISH_MAN_PAGE}")
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
