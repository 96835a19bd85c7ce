# The manuals (docs/man/, written in man(7) markup) and each package's copyright, changelog and
# lintian overrides (packaging/). Compressed as Debian wants them: gzip -9, without a name or time.
find_program(VISTREL_GZIP gzip REQUIRED)

# The changelog's newest entry is the version being built.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^vistrel \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog starts with \"${newest}\": add an entry for ${PROJECT_VERSION}")
endif()

set(compressed)
function(vistrel_compress source output)
    add_custom_command(OUTPUT ${output} COMMAND ${VISTREL_GZIP} -9nc ${source} > ${output} DEPENDS ${source}
                       COMMENT "Compressing ${source}")
    set(compressed ${compressed} ${output} PARENT_SCOPE)
endfunction()

set(manual_dir ${PROJECT_BINARY_DIR}/man)
file(MAKE_DIRECTORY ${manual_dir})
set(manuals vistrelctl.1 vistrel-camsim.1 halvex32.3)
if(TARGET vistrel)
    list(PREPEND manuals vistrel.1)
endif()
foreach(manual ${manuals})
    vistrel_compress(${PROJECT_SOURCE_DIR}/docs/man/${manual} ${manual_dir}/${manual}.gz)
    string(REGEX MATCH "[0-9]$" section ${manual})
    if(section STREQUAL "3")
        install(FILES ${manual_dir}/${manual}.gz DESTINATION share/man/man3 COMPONENT development)
    else()
        install(FILES ${manual_dir}/${manual}.gz DESTINATION share/man/man${section} COMPONENT program)
    endif()
endforeach()

vistrel_compress(${PROJECT_SOURCE_DIR}/packaging/changelog ${PROJECT_BINARY_DIR}/package/changelog.gz)
add_custom_target(vistrel_documents ALL DEPENDS ${compressed})

# Each package carries the copyright and changelog of the whole source.
foreach(pair vistrel:program libhalvex32-1:library libhalvex32-dev:development)
    string(REPLACE ":" ";" pair ${pair})
    list(GET pair 0 package)
    list(GET pair 1 component)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${PROJECT_BINARY_DIR}/package/changelog.gz
            DESTINATION share/doc/${package} COMPONENT ${component})
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/vistrel.lintian-overrides DESTINATION share/lintian/overrides
        RENAME vistrel COMPONENT program)
