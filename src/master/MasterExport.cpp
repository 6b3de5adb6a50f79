#include "master/MasterExport.h"

#include "master/CMaster.h"
#include "master/MasterTable.h"
#include "master/SampleTables.h"
#include "support/Prompt.h"

#include <functional>

namespace brimlo {

std::string DirectoryWithSeparator(const std::string& fileName) {
    const std::size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

std::string ExportSuccessText(const std::string& asciiFileName, const std::string& directory) {
    return "Files:\n" + asciiFileName + "\n" + directory + kWeightSampleTable + "\n" + directory +
           kVolumeSampleTable + "\n" + "were generated successfully.";
}

namespace {

bool ExportMasterFilesOf(const std::string& chosenFileName, Prompt& prompt,
                         const std::function<bool()>& writeAscii,
                         const std::function<bool(const std::string&)>& writeSampleTables) {
    if (!writeAscii())
        return false;
    const std::string directory = DirectoryWithSeparator(chosenFileName);
    if (!writeSampleTables(directory))
        return false;
    prompt.message(ExportSuccessText(chosenFileName, directory), "Success",
                   PromptIcon::Information);
    return true;
}

} // namespace

bool ExportMasterFiles(const std::string& chosenFileName, CMaster& master, MasterTable& table,
                       const std::string& defaultSawlogs, Prompt& prompt, Date lastUpdate) {
    return ExportMasterFilesOf(
        chosenFileName, prompt,
        [&] { return master.WriteMasterAscii(chosenFileName, table, defaultSawlogs, prompt); },
        [&](const std::string& directory) {
            return WriteSampleTables(directory, table, lastUpdate);
        });
}

bool ExportMasterFiles(const std::string& chosenFileName, CMaster& master, MasterStore& store,
                       const std::string& defaultSawlogs, Prompt& prompt, Date lastUpdate) {
    return ExportMasterFilesOf(
        chosenFileName, prompt,
        [&] { return master.WriteMasterAscii(chosenFileName, store, defaultSawlogs, prompt); },
        [&](const std::string& directory) {
            return WriteSampleTables(directory, store, lastUpdate);
        });
}

} // namespace brimlo
