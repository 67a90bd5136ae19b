// Compiled as a source of the core's top layer, which links no Qt Widgets.
#include <QtWidgets/QWidget>
