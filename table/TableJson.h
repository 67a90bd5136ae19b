#pragma once

class IdentifierTable;
class QIODevice;

// Writes the table in its current order as one JSON array: an object per row
// with the nine fields under their own names. Throws QuorvelError when the
// device does not take the bytes.
void writeTableJson(const IdentifierTable& table, QIODevice& device);
