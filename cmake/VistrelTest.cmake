include(GoogleTest)

# vistrel_add_test(NAME SOURCES file... [LIBS lib...] [QT])
# One GoogleTest executable per subsystem. QT tests get a QApplication on the offscreen platform.
function(vistrel_add_test name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} vistrel_test_support vistrel_options GTest::gtest GTest::gmock)
    if(ARG_QT)
        target_link_libraries(${name} PRIVATE vistrel_qt_test_main)
        if(VISTREL_TEST_PCH)
            target_precompile_headers(${name} REUSE_FROM vistrel_qt_test_main)
        endif()
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
        if(VISTREL_TEST_PCH)
            target_precompile_headers(${name} REUSE_FROM vistrel_test_support)
        endif()
    endif()
    gtest_discover_tests(${name}
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        DISCOVERY_TIMEOUT 60)
endfunction()
