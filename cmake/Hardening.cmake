# The hardening a Debian package is built with: the flags dpkg-buildflags gives with every hardening
# feature on (fortify, stack protector, relro, bindnow; PIE is the compiler's default there). Only
# our own targets get them, through vistrel_options. The build type keeps choosing -O and -g.
option(VISTREL_DEB_BUILDFLAGS "Build with the hardening flags of dpkg-buildflags" OFF)
if(NOT VISTREL_DEB_BUILDFLAGS)
    return()
endif()

find_program(VISTREL_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT VISTREL_DPKG_BUILDFLAGS)
    message(FATAL_ERROR "VISTREL_DEB_BUILDFLAGS needs dpkg-buildflags (Debian package dpkg-dev)")
endif()

function(vistrel_deb_flags kind out)
    # Run from the source folder, so that -ffile-prefix-map makes file names relative to it.
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            ${VISTREL_DPKG_BUILDFLAGS} --get ${kind}
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE flags
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-(g|O.*)$")
    set(${out} ${flags} PARENT_SCOPE)
endfunction()

vistrel_deb_flags(CPPFLAGS cppflags)
vistrel_deb_flags(CFLAGS cflags)
vistrel_deb_flags(CXXFLAGS cxxflags)
vistrel_deb_flags(LDFLAGS ldflags)
foreach(flag ${cflags})
    target_compile_options(vistrel_options INTERFACE $<$<COMPILE_LANGUAGE:C>:${flag}>)
endforeach()
foreach(flag ${cxxflags})
    target_compile_options(vistrel_options INTERFACE $<$<COMPILE_LANGUAGE:CXX>:${flag}>)
endforeach()
target_compile_options(vistrel_options INTERFACE ${cppflags})
target_link_options(vistrel_options INTERFACE ${ldflags})
message(STATUS "dpkg-buildflags: ${cppflags} ${cxxflags} ${ldflags}")
