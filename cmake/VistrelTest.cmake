include(GoogleTest)

# vistrel_add_test(NAME SOURCES file... [LIBS lib...] [QT])
# One GoogleTest executable per subsystem. QT tests get a QApplication on the offscreen platform.
function(vistrel_add_test name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} vistrel_test_support vistrel_options GTest::gtest GTest::gmock)
    if(ARG_QT)
        target_link_libraries(${name} PRIVATE vistrel_qt_test_main)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    gtest_discover_tests(${name}
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VISTREL_SOURCE_DIR=${PROJECT_SOURCE_DIR};VISTREL_BINARY_DIR=${PROJECT_BINARY_DIR};LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/cmake/lsan.supp;ASAN_OPTIONS=detect_leaks=1"
        DISCOVERY_TIMEOUT 60)
endfunction()
