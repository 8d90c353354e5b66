# Desktop integration, manual pages and the Debian package; the compiled help and the installer
# of the Windows build (CPack). The programs and the HTML manual have their install rules beside
# their targets.

# The project has no public home yet: the package and its metadata name no homepage and no
# screenshot, and the maintainer address is a placeholder under a domain reserved never to exist.
set(SUMWRIGHT_MAINTAINER "Sumwright maintainers <maintainers@sumwright.invalid>")
# The day PROJECT_VERSION was released; change the two together, and give the release its entry
# in packaging/debian/changelog.
set(SUMWRIGHT_RELEASE_DATE "2026-12-07")

set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
set(packaging_out ${PROJECT_BINARY_DIR}/packaging)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/sumwright)

if(WIN32)
    install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
else()
    # The copyright file quotes LICENSE: its copyright line, and the licence below it as an
    # indented field in which " ." stands for an empty line.
    file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
    string(FIND "${license}" "Permission is hereby granted" license_start)
    string(SUBSTRING "${license}" ${license_start} -1 license_text)
    string(STRIP "${license_text}" license_text)
    string(REPLACE "\n\n" "\n.\n" license_text "${license_text}")
    string(REPLACE "\n" "\n " SUMWRIGHT_LICENSE_TEXT " ${license_text}")
    configure_file(${packaging_dir}/debian/copyright.in ${packaging_out}/debian/copyright @ONLY)
    install(FILES ${packaging_out}/debian/copyright DESTINATION ${doc_dir})
endif()

if(SUMWRIGHT_BUILD_GUI)
    # Desktops look the entry, its metadata and its icon up by the application id. Their texts
    # in every language of po/ are merged in by msgfmt from the programs' own catalogs.
    find_program(MSGFMT_EXECUTABLE msgfmt REQUIRED)
    set(untranslated ${packaging_out}/untranslated)
    configure_file(${packaging_dir}/desktop/sumwright.desktop.in
        ${untranslated}/${SUMWRIGHT_APP_ID}.desktop @ONLY)
    configure_file(${packaging_dir}/desktop/sumwright.metainfo.xml.in
        ${untranslated}/${SUMWRIGHT_APP_ID}.metainfo.xml @ONLY)
    set(catalogs ${PROJECT_SOURCE_DIR}/po/LINGUAS)
    foreach(language IN LISTS SUMWRIGHT_LANGUAGES)
        list(APPEND catalogs ${PROJECT_SOURCE_DIR}/po/${language}.po)
    endforeach()
    add_custom_command(OUTPUT ${packaging_out}/${SUMWRIGHT_APP_ID}.desktop
        COMMAND ${MSGFMT_EXECUTABLE} --desktop -d ${PROJECT_SOURCE_DIR}/po
            --template ${untranslated}/${SUMWRIGHT_APP_ID}.desktop
            -o ${packaging_out}/${SUMWRIGHT_APP_ID}.desktop
        DEPENDS ${untranslated}/${SUMWRIGHT_APP_ID}.desktop ${catalogs} VERBATIM)
    add_custom_command(OUTPUT ${packaging_out}/${SUMWRIGHT_APP_ID}.metainfo.xml
        COMMAND ${MSGFMT_EXECUTABLE} --xml -d ${PROJECT_SOURCE_DIR}/po
            --template ${untranslated}/${SUMWRIGHT_APP_ID}.metainfo.xml
            -o ${packaging_out}/${SUMWRIGHT_APP_ID}.metainfo.xml
        DEPENDS ${untranslated}/${SUMWRIGHT_APP_ID}.metainfo.xml ${catalogs} VERBATIM)
    add_custom_target(sumwright_desktop_entry ALL DEPENDS
        ${packaging_out}/${SUMWRIGHT_APP_ID}.desktop
        ${packaging_out}/${SUMWRIGHT_APP_ID}.metainfo.xml)
    install(FILES ${packaging_out}/${SUMWRIGHT_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${packaging_out}/${SUMWRIGHT_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

    set(icons_dir ${PROJECT_SOURCE_DIR}/src/app/icons)
    foreach(size 16 32 48 128)
        install(FILES ${icons_dir}/sumwright-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${SUMWRIGHT_APP_ID}.png)
    endforeach()
    install(FILES ${icons_dir}/sumwright.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${SUMWRIGHT_APP_ID}.svg)

    # The pages name the version and the month of its release; compressed as Debian installs
    # them, -n keeps the build reproducible.
    find_program(GZIP_EXECUTABLE gzip REQUIRED)
    set(month_names January February March April May June July August September October
        November December)
    string(REGEX MATCH "^([0-9]+)-0?([0-9]+)-" unused ${SUMWRIGHT_RELEASE_DATE})
    math(EXPR month_index "${CMAKE_MATCH_2} - 1")
    list(GET month_names ${month_index} month_name)
    set(SUMWRIGHT_MAN_DATE "${month_name} ${CMAKE_MATCH_1}")
    set(man_pages)
    foreach(page sumwright.1 sumwright-cli.1)
        configure_file(${packaging_dir}/man/${page}.in ${packaging_out}/man-pages/${page} @ONLY)
        set(man_out ${packaging_out}/man/${page}.gz)
        add_custom_command(OUTPUT ${man_out}
            COMMAND ${CMAKE_COMMAND} -E copy
                ${packaging_out}/man-pages/${page} ${packaging_out}/man/${page}
            COMMAND ${GZIP_EXECUTABLE} -9 -n -f ${packaging_out}/man/${page}
            DEPENDS ${packaging_out}/man-pages/${page}
            VERBATIM)
        list(APPEND man_pages ${man_out})
    endforeach()
    add_custom_target(sumwright_man ALL DEPENDS ${man_pages})
    install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

    # A stripping install also drops the compiler's identification in .comment, which plain
    # strip keeps and Debian's own tools remove.
    set(strip_comment [[
        if(CMAKE_INSTALL_DO_STRIP)
            foreach(program @stripped_programs@)
                execute_process(COMMAND "@CMAKE_STRIP@" --remove-section=.comment
                    "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/@CMAKE_INSTALL_BINDIR@/${program}"
                    COMMAND_ERROR_IS_FATAL ANY)
            endforeach()
        endif()
    ]])
    set(stripped_programs $<TARGET_FILE_NAME:sumwright> $<TARGET_FILE_NAME:sumwright-cli>)
    string(CONFIGURE "${strip_comment}" strip_comment @ONLY)
    install(CODE "${strip_comment}")

    # Files only the Debian package carries, in the component "deb" that a plain install leaves
    # out. The doc-base entry lists the manual in Debian's documentation index.
    configure_file(${packaging_dir}/debian/sumwright.doc-base.in
        ${packaging_out}/debian/sumwright.doc-base @ONLY)
    install(FILES ${packaging_out}/debian/sumwright.doc-base
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc-base RENAME sumwright
        COMPONENT deb EXCLUDE_FROM_ALL)
    set(changelog_out ${packaging_out}/debian/changelog.Debian.gz)
    add_custom_command(OUTPUT ${changelog_out}
        COMMAND ${CMAKE_COMMAND} -E copy
            ${packaging_dir}/debian/changelog ${packaging_out}/debian/changelog.Debian
        COMMAND ${GZIP_EXECUTABLE} -9 -n -f ${packaging_out}/debian/changelog.Debian
        DEPENDS ${packaging_dir}/debian/changelog
        VERBATIM)
    add_custom_target(debian_changelog ALL DEPENDS ${changelog_out})
    install(FILES ${changelog_out} DESTINATION ${doc_dir} COMPONENT deb EXCLUDE_FROM_ALL)
    install(FILES ${packaging_dir}/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME sumwright
        COMPONENT deb EXCLUDE_FROM_ALL)
endif()

# The Windows help command opens "swhelp.chm": the HTML manual compiled with Free Pascal's
# chmcmd. The Windows build installs it, so there it needs the tool; elsewhere it is built
# wherever the tool is found.
if(WIN32)
    find_program(CHMCMD_EXECUTABLE chmcmd REQUIRED)
else()
    find_program(CHMCMD_EXECUTABLE chmcmd)
endif()
if(CHMCMD_EXECUTABLE)
    set(chm_dir ${packaging_out}/chm)
    set(chm_sources
        ${PROJECT_SOURCE_DIR}/docs/help/index.html
        ${packaging_dir}/chm/swhelp.hhp
        ${packaging_dir}/chm/swhelp.hhc)
    # chmcmd reads the files named in the project relative to it, so they are gathered first.
    file(MAKE_DIRECTORY ${chm_dir})
    add_custom_command(OUTPUT ${chm_dir}/swhelp.chm
        COMMAND ${CMAKE_COMMAND} -E copy ${chm_sources} ${chm_dir}
        COMMAND ${CHMCMD_EXECUTABLE} swhelp.hhp
        WORKING_DIRECTORY ${chm_dir}
        DEPENDS ${chm_sources}
        VERBATIM)
    add_custom_target(swhelp_chm ALL DEPENDS ${chm_dir}/swhelp.chm)
    if(WIN32)
        install(FILES ${chm_dir}/swhelp.chm DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endif()

set(CPACK_PACKAGE_NAME sumwright)
set(CPACK_PACKAGE_VENDOR "${SUMWRIGHT_VENDOR}")
set(CPACK_PACKAGE_CONTACT "${SUMWRIGHT_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "formula calculator with the variables X, Y and Z")
set(CPACK_PACKAGE_DESCRIPTION
"Sumwright evaluates a main formula and three formulas that define the
variables X, Y and Z. One click computes Z, then Y, then X, then the main
formula, shows each value, and reports success or the first problem in a
status line. The formulas can be kept between runs.

sumwright-cli runs the same evaluation from the command line, with plain
or JSON output, and evaluates batches of formulas given as JSON Lines.")
set(CPACK_STRIP_FILES ON)

if(WIN32)
    # A per-machine 64-bit setup program from packaging/nsis/NSIS.template.in. One uninstall
    # key and one folder whatever the version, so that a newer release replaces an older one.
    set(CPACK_GENERATOR NSIS)
    set(CPACK_MODULE_PATH ${packaging_dir}/nsis)
    set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/")
    set(CPACK_PACKAGE_FILE_NAME "${SUMWRIGHT_TITLE}-${PROJECT_VERSION}-win64")
    set(CPACK_PACKAGE_INSTALL_DIRECTORY "${SUMWRIGHT_TITLE}")
    set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "${SUMWRIGHT_TITLE}")
    set(CPACK_NSIS_PACKAGE_NAME "${SUMWRIGHT_TITLE}")
    set(CPACK_NSIS_DISPLAY_NAME "${SUMWRIGHT_TITLE}")
    set(CPACK_NSIS_DEFINES "Target amd64-unicode")
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
    set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
    set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/winapp/sumwright.ico)
    set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/src/winapp/sumwright.ico)
    set(CPACK_NSIS_UNINSTALL_NAME Uninstall)
    set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
    set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
    # What the template names besides CPack's own settings: the program the shortcut starts,
    # the command line, the shortcut's tooltip, the help file it registers, and the setup
    # program's copyright.
    set(CPACK_NSIS_SUMWRIGHT_PROGRAM sumwright.exe)
    set(CPACK_NSIS_SUMWRIGHT_CLI_PROGRAM sumwright-cli.exe)
    set(CPACK_NSIS_SUMWRIGHT_DESCRIPTION "${SUMWRIGHT_TITLE} formula calculator")
    set(CPACK_NSIS_SUMWRIGHT_HELP_FILE swhelp.chm)
    set(CPACK_NSIS_SUMWRIGHT_COPYRIGHT "${SUMWRIGHT_COPYRIGHT_NOTICE}")

    # The Windows Installer package of every release shares this UpgradeCode: Windows finds the
    # installed release by it, to replace it, and the setup program finds it to refuse to
    # install beside it. The package refuses in turn while the setup program's entry exists.
    set(SUMWRIGHT_MSI_UPGRADE_CODE 03DBC602-3672-492D-906C-782595BF5B38)
    set(SUMWRIGHT_SETUP_UNINSTALL_KEY [[Software\Microsoft\Windows\CurrentVersion\Uninstall\]])
    string(APPEND SUMWRIGHT_SETUP_UNINSTALL_KEY ${CPACK_PACKAGE_INSTALL_REGISTRY_KEY})
    set(CPACK_NSIS_SUMWRIGHT_MSI_UPGRADE_CODE "{${SUMWRIGHT_MSI_UPGRADE_CODE}}")
    # cmake --build --preset windows-package --target msi: build/windows-package/*-x64.msi.
    find_program(WIXL_EXECUTABLE wixl)
    configure_file(${packaging_dir}/windows/build_msi.cmake.in
        ${packaging_out}/windows/build_msi.cmake @ONLY)
    add_custom_target(msi
        COMMAND ${CMAKE_COMMAND} -P ${packaging_out}/windows/build_msi.cmake
        VERBATIM)
    add_dependencies(msi sumwright sumwright-cli swhelp_chm)

    # cpack --preset portable: the programs, the help file, the licence and README.txt in one
    # folder of a zip file, to unpack and run anywhere.
    configure_file(${packaging_dir}/windows/README.txt.in ${packaging_out}/portable/README.txt
        @ONLY NEWLINE_STYLE CRLF)
    configure_file(${packaging_dir}/windows/cpack_project.cmake.in
        ${packaging_out}/windows/cpack_project.cmake @ONLY)
    set(CPACK_PROJECT_CONFIG_FILE ${packaging_out}/windows/cpack_project.cmake)
else()
    set(CPACK_INSTALL_CMAKE_PROJECTS
        "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/"
        "${PROJECT_BINARY_DIR};${PROJECT_NAME};deb;/")
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
    set(CPACK_DEBIAN_PACKAGE_SECTION math)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
    # The Japanese and Chinese windows need a font with their characters, and Qt's own dialogs
    # speak the user's language only with Qt's translations.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n")
endif()
include(CPack)
