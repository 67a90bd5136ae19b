#pragma once

#include <QByteArray>

// The modern site's search, as the browser runs it: busca.js.
namespace SearchScript {
QByteArray source();
}
