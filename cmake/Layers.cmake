# The core's layers, each depending only on those below it:
#   common, table, settings, harvest, database, output, app
# and the windows (gui/) on top. Each layer is a static library whose sources
# see, through a folder of links made here, only their own layer's headers and
# those of the layers below: an include that points up finds no file. No
# layer links Qt Widgets, and a stand-in for the first header every Widgets
# header includes stops the compilation with the reason.
set(QUORVEL_LAYERS common table settings harvest database output app)

set(_no_widgets ${CMAKE_BINARY_DIR}/layers/no-widgets)
file(MAKE_DIRECTORY ${_no_widgets}/QtWidgets)
file(WRITE ${_no_widgets}/QtWidgets/qtwidgetsglobal.h
    "#error \"Qt Widgets belong to the windows (gui/), never to the core\"\n")

# The folder of links through which a layer sees itself and the layers below.
function(quorvel_layer_view layer out)
    set(view ${CMAKE_BINARY_DIR}/layers/${layer})
    file(MAKE_DIRECTORY ${view})
    foreach(seen ${QUORVEL_LAYERS})
        if(NOT EXISTS ${view}/${seen})
            file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${seen} ${view}/${seen} SYMBOLIC)
        endif()
        if(seen STREQUAL layer)
            break()
        endif()
    endforeach()
    set(${out} ${view} PARENT_SCOPE)
endfunction()

# Gives a target the include path of `layer`: its view and the Widgets stop.
function(quorvel_sees target layer)
    quorvel_layer_view(${layer} view)
    target_include_directories(${target} BEFORE PRIVATE ${_no_widgets} ${view})
endfunction()

# quorvel_layer(NAME SOURCES ... LINKS ...): the library quorvel_NAME.
function(quorvel_layer name)
    cmake_parse_arguments(L "" "" "SOURCES;LINKS" ${ARGN})
    add_library(quorvel_${name} STATIC ${L_SOURCES})
    quorvel_sees(quorvel_${name} ${name})
    target_link_libraries(quorvel_${name} PUBLIC quorvel_options ${L_LINKS})
endfunction()
