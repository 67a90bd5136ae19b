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
