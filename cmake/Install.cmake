# Install layout, in three components that become the three Debian packages (Package.cmake):
#   program      everything the program runs with, in one folder <prefix>/lib/vistrel/ (the programs,
#                the trial loader, libclsersim.so, CamFiles/), relative links to the programs in <prefix>/bin, the menu
#                entry, icons, AppStream metadata, manuals, shell completion and the package's docs;
#   library      Halvex32 under its soname in the multiarch library folder;
#   development  its header, its development link, halvex32.pc and halvex32(3).
set(VISTREL_INSTALL_DIR lib/vistrel)
# Halvex32 goes where the system's loader and pkg-config look for the machine's libraries:
# lib/x86_64-linux-gnu on Debian, lib where the compiler names no multiarch folder.
if(CMAKE_LIBRARY_ARCHITECTURE)
    set(VISTREL_LIBRARY_DIR lib/${CMAKE_LIBRARY_ARCHITECTURE})
else()
    set(VISTREL_LIBRARY_DIR lib)
endif()

set(programs vistrelctl vistrel-camsim)
if(TARGET vistrel)
    list(PREPEND programs vistrel)
endif()
# Each binary finds Halvex32 from its own place, at any prefix: beside itself in the build tree,
# in the library folder once installed.
file(RELATIVE_PATH library_from_programs /p/${VISTREL_INSTALL_DIR} /p/${VISTREL_LIBRARY_DIR})
set_target_properties(${programs} clsersim PROPERTIES INSTALL_RPATH "$ORIGIN;$ORIGIN/${library_from_programs}")

install(TARGETS ${programs} RUNTIME DESTINATION ${VISTREL_INSTALL_DIR} COMPONENT program)
# The trial loader of Camera Link libraries: run by the programs from their own folder only.
install(TARGETS vistrel-cltrial RUNTIME DESTINATION ${VISTREL_INSTALL_DIR} COMPONENT program)
install(TARGETS clsersim LIBRARY DESTINATION ${VISTREL_INSTALL_DIR} COMPONENT program NAMELINK_SKIP)
install(TARGETS halvex32 LIBRARY DESTINATION ${VISTREL_LIBRARY_DIR} COMPONENT library
                                 NAMELINK_COMPONENT development)
# A stripped install (the package's) also drops the compiler's notes, as Debian's own packages do.
function(vistrel_install_drop_notes target folder component)
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${folder}/$<TARGET_FILE_NAME:${target}>\"
                COMMAND_ERROR_IS_FATAL ANY)
        endif()" COMPONENT ${component})
endfunction()
foreach(binary ${programs} vistrel-cltrial clsersim)
    vistrel_install_drop_notes(${binary} ${VISTREL_INSTALL_DIR} program)
endforeach()
vistrel_install_drop_notes(halvex32 ${VISTREL_LIBRARY_DIR} library)

# The mark of an installed copy: its settings then live in the user's folders (README).
file(WRITE ${PROJECT_BINARY_DIR}/vistrel.installed
     "This copy of Vistrel was installed: its settings are kept in $XDG_CONFIG_HOME/vistrel/.\n")
install(FILES ${PROJECT_BINARY_DIR}/vistrel.installed DESTINATION ${VISTREL_INSTALL_DIR} COMPONENT program)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/CamFiles/ DESTINATION ${VISTREL_INSTALL_DIR}/CamFiles COMPONENT program
        FILES_MATCHING PATTERN "*.cam")

# A relative symbolic link `link` (below the prefix) to `target` (relative to the link's folder).
function(vistrel_install_link target link component)
    install(CODE "
        set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${link}\")
        get_filename_component(folder \"\${link}\" DIRECTORY)
        file(MAKE_DIRECTORY \"\${folder}\")
        file(REMOVE \"\${link}\")
        file(CREATE_LINK \"${target}\" \"\${link}\" SYMBOLIC)
        message(STATUS \"Installing: \${link} -> ${target}\")" COMPONENT ${component})
endfunction()

foreach(program ${programs})
    vistrel_install_link(../${VISTREL_INSTALL_DIR}/${program} bin/${program} program)
endforeach()

# Halvex32 for other programs. halvex32.pc names the prefix the tree is installed to (the package's
# /usr), so pkg-config gives plain flags and leaves out the system's own folders.
install(FILES ${PROJECT_SOURCE_DIR}/serial/halvex32.h DESTINATION include COMPONENT development)
get_target_property(HALVEX32_VERSION halvex32 VERSION)
install(CODE "
    set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
    set(libdir \"\${CMAKE_INSTALL_PREFIX}/${VISTREL_LIBRARY_DIR}\")
    set(HALVEX32_VERSION ${HALVEX32_VERSION})
    set(pc \"\$ENV{DESTDIR}\${libdir}/pkgconfig/halvex32.pc\")
    configure_file(\"${PROJECT_SOURCE_DIR}/serial/halvex32.pc.in\" \"\${pc}\" @ONLY)
    message(STATUS \"Installing: \${pc}\")" COMPONENT development)

# The menu entry, its icon and the AppStream metadata.
if(TARGET vistrel)
    install(FILES ${PROJECT_SOURCE_DIR}/res/vistrel.desktop DESTINATION share/applications
            RENAME ${VISTREL_DESKTOP_ENTRY_NAME} COMPONENT program)
    install(FILES ${PROJECT_SOURCE_DIR}/res/about/vistrel.svg DESTINATION share/icons/hicolor/scalable/apps
            COMPONENT program)
    install(FILES ${PROJECT_SOURCE_DIR}/res/about/vistrel.png DESTINATION share/icons/hicolor/64x64/apps
            COMPONENT program)
    install(FILES ${PROJECT_SOURCE_DIR}/res/${VISTREL_APPSTREAM_ID}.metainfo.xml DESTINATION share/metainfo
            COMPONENT program)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/tools/vistrelctl/vistrelctl.bash-completion
        DESTINATION share/bash-completion/completions RENAME vistrelctl COMPONENT program)
