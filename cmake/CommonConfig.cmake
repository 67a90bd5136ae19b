# Compile settings shared by every target of the project.
add_library(quorvel_options INTERFACE)
target_compile_features(quorvel_options INTERFACE cxx_std_20)
target_compile_options(quorvel_options INTERFACE
    -Wall -Wextra -pedantic -Wold-style-cast -Wnon-virtual-dtor
    -Woverloaded-virtual -Wcast-qual -Wshadow)
# The project's own builds (scripts/build, scripts/test, scripts/fuzz) fail on
# any warning; a packager's newer compiler may warn where ours does not, so
# the default build only warns.
option(QUORVEL_WERROR "Fail the build on any compiler warning" OFF)
if(QUORVEL_WERROR)
    target_compile_options(quorvel_options INTERFACE -Werror)
endif()
target_compile_definitions(quorvel_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_STRICT_ITERATORS
    QT_USE_QSTRINGBUILDER
    QT_DISABLE_DEPRECATED_BEFORE=0x060400
    QT_NO_KEYWORDS)

# Address and undefined-behaviour sanitizers for a whole build (scripts/test
# runs the test suite once more with them).
option(QUORVEL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(QUORVEL_SANITIZE)
    target_compile_options(quorvel_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(quorvel_options INTERFACE -fsanitize=address,undefined)
endif()

# ThreadSanitizer, for the harvest's worker threads (scripts/test runs the
# harvest suites with it).
option(QUORVEL_TSAN "Build with ThreadSanitizer" OFF)
if(QUORVEL_TSAN)
    target_compile_options(quorvel_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(quorvel_options INTERFACE -fsanitize=thread)
endif()

# libFuzzer targets (clang only): every target is instrumented for coverage.
option(QUORVEL_FUZZ "Build the libFuzzer targets" OFF)
if(QUORVEL_FUZZ)
    target_compile_options(quorvel_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
