#pragma once

#include "support/DirectoryListing.h"

#include <string>
#include <vector>

namespace brimlo {

// Files a load window's workspace leaves in the application data directory:
// HeaderN.db, LogN.db, the log table's index LogN.PX, and the sidecar files
// the table store keeps beside a table while it changes it.

// The name pairs that mark a workspace file (deliberately loose: any name
// holding "Header" and ".db" counts, as earlier versions counted them).
const std::vector<NamePattern>& WorkspaceFilePatterns();

// True when the file name is a header table or one of its sidecars.
bool IsHeaderFileName(const std::string& name);

// The workspace number in a header table's file name: the decimal number
// between "Header" and the ".db" after it. Throws BrimloError when there is
// no number there.
int WorkspaceNumberFromHeaderName(const std::string& name);

// A header file's table name without any sidecar suffix ("Header3.db" for
// "Header3.db-journal").
std::string HeaderTableName(const std::string& name);

// The file names of workspace n ("Header" n ".db", "Log" n ".db").
std::string HeaderFileName(int n);
std::string LogFileName(int n);

// Removes a workspace file and its sidecars; missing files are no error.
void DeleteWorkspaceFile(const std::string& path);

// The first workspace number above counter none of whose files exist in
// directory, so a new workspace never overwrites one kept from an earlier
// run.
int NextFreeWorkspaceNumber(const std::string& directory, int counter);

} // namespace brimlo
