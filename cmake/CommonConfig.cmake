# Compile settings shared by every target of the project.
add_library(quorvel_settings INTERFACE)
target_compile_features(quorvel_settings INTERFACE cxx_std_20)
target_compile_options(quorvel_settings INTERFACE
    -Wall -Wextra -pedantic -Wold-style-cast -Wnon-virtual-dtor)
target_compile_definitions(quorvel_settings INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_USE_QSTRINGBUILDER
    QT_DISABLE_DEPRECATED_BEFORE=0x060400
    QT_NO_KEYWORDS)

# Address and undefined-behaviour sanitizers for a whole build (scripts/test
# runs the test suite once more with them).
option(QUORVEL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(QUORVEL_SANITIZE)
    target_compile_options(quorvel_settings INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(quorvel_settings INTERFACE -fsanitize=address,undefined)
endif()

# libFuzzer targets (clang only): every target is instrumented for coverage.
option(QUORVEL_FUZZ "Build the libFuzzer targets" OFF)
if(QUORVEL_FUZZ)
    target_compile_options(quorvel_settings INTERFACE -fsanitize=fuzzer-no-link)
endif()
