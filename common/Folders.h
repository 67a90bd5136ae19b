#pragma once

#include <QString>

// Making the folders the program writes into.
namespace Folders {

enum class Levels
{
    Last,        // only the folder itself: its parent must exist
    WithParents, // every missing folder on the way, like mkdir -p
};

// Makes `folder` (nothing when it is there already). Throws QuorvelError
// "Cannot create folder "<folder>". <reason>", naming the folder whose
// creation failed and that step's own reason: a parent the user may not
// write is named with "Permission denied", not the folder below it with
// "No such file or directory".
void make(const QString& folder, Levels levels);

} // namespace Folders
