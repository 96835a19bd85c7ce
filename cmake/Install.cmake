# Install layout. The program finds Halvex32, the simulated grabber library and CamFiles/ beside
# itself, so everything it runs with lies in one folder, <prefix>/lib/vistrel/; <prefix>/bin holds
# relative links to the programs, so the tree can be moved or unpacked anywhere.
set(VISTREL_INSTALL_DIR lib/vistrel)

set(programs vistrelctl vistrel-camsim)
if(TARGET vistrel)
    list(PREPEND programs vistrel)
endif()
# Each binary looks for its libraries in its own folder, at any prefix.
set_target_properties(${programs} clsersim PROPERTIES INSTALL_RPATH "$ORIGIN")

install(TARGETS ${programs} RUNTIME DESTINATION ${VISTREL_INSTALL_DIR})
# The trial loader of Camera Link libraries: run by the programs from their own folder only.
install(TARGETS vistrel-cltrial RUNTIME DESTINATION ${VISTREL_INSTALL_DIR})
install(TARGETS clsersim LIBRARY DESTINATION ${VISTREL_INSTALL_DIR} NAMELINK_SKIP)
install(TARGETS halvex32 LIBRARY DESTINATION ${VISTREL_INSTALL_DIR} NAMELINK_SKIP)
# The mark of an installed copy: its settings then live in the user's folders (README).
file(WRITE ${PROJECT_BINARY_DIR}/vistrel.installed
     "This copy of Vistrel was installed: its settings are kept in $XDG_CONFIG_HOME/vistrel/.\n")
install(FILES ${PROJECT_BINARY_DIR}/vistrel.installed DESTINATION ${VISTREL_INSTALL_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/CamFiles/ DESTINATION ${VISTREL_INSTALL_DIR}/CamFiles
        FILES_MATCHING PATTERN "*.cam")

# A relative symbolic link `link` (below the prefix) to `target` (relative to the link's folder).
function(vistrel_install_link target link)
    install(CODE "
        set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${link}\")
        get_filename_component(folder \"\${link}\" DIRECTORY)
        file(MAKE_DIRECTORY \"\${folder}\")
        file(REMOVE \"\${link}\")
        file(CREATE_LINK \"${target}\" \"\${link}\" SYMBOLIC)
        message(STATUS \"Installing: \${link} -> ${target}\")")
endfunction()

foreach(program ${programs})
    vistrel_install_link(../${VISTREL_INSTALL_DIR}/${program} bin/${program})
endforeach()

# Halvex32 for other programs: the header, the library under its soname and its development name in
# <prefix>/lib (links into the program folder), and a pkg-config file that finds its prefix from its
# own place, so it is right for whatever prefix the tree is installed to.
install(FILES ${PROJECT_SOURCE_DIR}/serial/halvex32.h DESTINATION include)
vistrel_install_link(vistrel/$<TARGET_FILE_NAME:halvex32> lib/$<TARGET_SONAME_FILE_NAME:halvex32>)
vistrel_install_link(vistrel/$<TARGET_FILE_NAME:halvex32> lib/$<TARGET_LINKER_FILE_NAME:halvex32>)
get_target_property(HALVEX32_VERSION halvex32 VERSION)
configure_file(${PROJECT_SOURCE_DIR}/serial/halvex32.pc.in ${PROJECT_BINARY_DIR}/halvex32.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/halvex32.pc DESTINATION lib/pkgconfig)

# The menu entry and its icon.
if(TARGET vistrel)
    install(FILES ${PROJECT_SOURCE_DIR}/res/vistrel.desktop DESTINATION share/applications
            RENAME ${VISTREL_DESKTOP_ENTRY_NAME})
    install(FILES ${PROJECT_SOURCE_DIR}/res/about/vistrel.svg DESTINATION share/icons/hicolor/scalable/apps)
    install(FILES ${PROJECT_SOURCE_DIR}/res/about/vistrel.png DESTINATION share/icons/hicolor/64x64/apps)
endif()
