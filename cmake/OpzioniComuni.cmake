# Compiler settings shared by every target of the project.
add_library(velmira_opzioni INTERFACE)
target_compile_features(velmira_opzioni INTERFACE cxx_std_20)
target_compile_options(velmira_opzioni INTERFACE -Wall -Wextra)
if(VELMIRA_WERROR)
    target_compile_options(velmira_opzioni INTERFACE -Werror)
endif()
target_compile_definitions(velmira_opzioni INTERFACE
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_FOREACH
    SI_CONVERT_ICU)
target_include_directories(velmira_opzioni INTERFACE ${PROJECT_SOURCE_DIR}/src)

# Instrumented builds (scripts/test, scripts/fuzz): every target, the core
# library included, is compiled with the same sanitizers, and any report stops
# the program instead of letting it go on.
set(VELMIRA_SANITIZER "" CACHE STRING "Sanitizers for every target, e.g. address,undefined")
option(VELMIRA_FUZZ "Build the libFuzzer targets under fuzz/ (clang only)" OFF)
if(VELMIRA_SANITIZER)
    add_compile_options(-fsanitize=${VELMIRA_SANITIZER} -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${VELMIRA_SANITIZER})
endif()
if(VELMIRA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "VELMIRA_FUZZ needs clang (libFuzzer): configure with CXX=clang++")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
