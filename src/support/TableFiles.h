#pragma once

#include <string>
#include <vector>

namespace brimlo {

// Endings of the side files a table may have beside its main file while it
// is open, and after the program stopped without closing it.
const std::vector<std::string>& TableSideFileEndings();

// True when the name is such a side file (Header3.db-journal), which a
// search for tables must pass over.
bool IsTableSideFile(const std::string& name);

// True when the table's main file exists.
bool TableExists(const std::string& path);

// Removes the table's file, its side files and its index file (the same
// name with the extension ".PX"); files that are missing are no error.
// Raises BrimloError naming the file that cannot be removed.
void DeleteTable(const std::string& path);

// Makes the directory's entries (a created or removed file) durable.
void SyncDirectoryOf(const std::string& path);

} // namespace brimlo
