# Every target of ours links vistrel_options: language level, warnings and, when asked for, the
# sanitizers. Third-party code never sees these flags.
add_library(vistrel_options INTERFACE)
target_compile_features(vistrel_options INTERFACE cxx_std_20)
target_compile_options(vistrel_options INTERFACE -Wall -Wextra -Wpedantic)

# Off by default, so that a packager's build with another compiler or optimisation level is not
# stopped by a new diagnostic; the presets and the test command turn it on.
option(VISTREL_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
if(VISTREL_WARNINGS_AS_ERRORS)
    target_compile_options(vistrel_options INTERFACE -Werror)
    # g++ 12 and 13 report -Wrestrict inside std::string at -O2 and above where nothing overlaps
    # (GCC bug 105329): such a report stays a warning.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 14)
        target_compile_options(vistrel_options INTERFACE $<$<COMPILE_LANGUAGE:CXX>:-Wno-error=restrict>)
    endif()
endif()

option(VISTREL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(VISTREL_SANITIZE)
    target_compile_options(vistrel_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                     -fno-sanitize-recover=undefined)
    target_link_options(vistrel_options INTERFACE -fsanitize=address,undefined)
endif()
