# One INTERFACE target carries the settings every target of the project shares.
add_library(brisma_config INTERFACE)
target_compile_features(brisma_config INTERFACE cxx_std_20)
set_target_properties(brisma_config PROPERTIES INTERFACE_CXX_EXTENSIONS OFF)
set(CMAKE_CXX_EXTENSIONS OFF)

# Narrow literals in the sources are written in UTF-8 but must be GBK at run
# time, because every Text of the program is GBK.
target_compile_options(brisma_config INTERFACE
    -Wall -Wextra -Wpedantic
    $<$<BOOL:${BRISMA_WERROR}>:-Werror>)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(brisma_config INTERFACE -fexec-charset=GBK)
elseif(BRISMA_FUZZ)
    # clang knows no execution character set but UTF-8. The fuzzers only
    # look for memory faults, and the text tools spell their one GBK
    # literal in bytes, so they are fuzzed as they run.
    message(STATUS "clang: narrow literals stay UTF-8 in this fuzzing build")
else()
    message(FATAL_ERROR "Brisma needs g++ (-fexec-charset=GBK); clang is for fuzzing builds only")
endif()

if(BRISMA_SANITIZE)
    target_compile_options(brisma_config INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(brisma_config INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

if(BRISMA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "BRISMA_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    target_compile_options(brisma_config INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
    target_link_options(brisma_config INTERFACE -fsanitize=address,undefined)
endif()

set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
