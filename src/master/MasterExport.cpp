#include "master/MasterExport.h"

#include "master/CMaster.h"
#include "master/MasterTable.h"
#include "master/SampleTables.h"
#include "support/Prompt.h"

namespace brimlo {

std::string DirectoryWithSeparator(const std::string& fileName) {
    const std::size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

std::string ExportSuccessText(const std::string& asciiFileName, const std::string& directory) {
    return "Files:\n" + asciiFileName + "\n" + directory + kWeightSampleTable + "\n" + directory +
           kVolumeSampleTable + "\n" + "were generated successfully.";
}

bool ExportMasterFiles(const std::string& chosenFileName, CMaster& master, MasterTable& table,
                       const std::string& defaultSawlogs, Date lastUpdate) {
    if (!master.WriteMasterAscii(chosenFileName, table, defaultSawlogs))
        return false;
    const std::string directory = DirectoryWithSeparator(chosenFileName);
    if (!WriteSampleTables(directory, table, lastUpdate))
        return false;
    Prompt::current().message(ExportSuccessText(chosenFileName, directory), "Success",
                              PromptIcon::Information);
    return true;
}

} // namespace brimlo
