#include "load/LoadDocument.h"

#include "load/BulkScope.h"
#include "load/BusyScope.h"
#include "load/LoadFileReader.h"
#include "load/LoadFileWriter.h"
#include "load/LoadSaveValidation.h"
#include "load/WorkspaceCounter.h"
#include "load/WorkspaceRecords.h"
#include "rules/Cglobals.h"
#include "support/BrimloError.h"
#include "support/DovraneGeneric.h"
#include "support/Prompt.h"

#include <cstdio>
#include <ctime>

namespace brimlo {

namespace {

constexpr const char* kTextExtension = ".txt";

Date SystemToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Date::fromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

bool EndsWithSeparator(const std::string& dir) {
    return !dir.empty() && (dir.back() == '/' || dir.back() == '\\');
}

// A data directory written the Windows way keeps its backslashes.
char SeparatorFor(const std::string& dir) {
    const bool windows = dir.find('\\') != std::string::npos && dir.find('/') == std::string::npos;
    return windows ? '\\' : '/';
}

// The digits of a number printed with format, from character first (1 for
// the first) for count characters.
std::string PrintedDigits(const char* format, long value, size_t first, size_t count) {
    char buf[32];
    std::snprintf(buf, sizeof buf, format, value);
    const std::string printed(buf);
    return first - 1 < printed.size() ? printed.substr(first - 1, count) : std::string();
}

LoadControl ControlOfCheck(SaveCheckField field) {
    switch (field) {
    case SaveCheckField::Disposition:
        return LoadControl::Disposition;
    case SaveCheckField::Source:
        return LoadControl::Source;
    case SaveCheckField::HeaderTopD:
        return LoadControl::HeaderTopD;
    case SaveCheckField::DateWeighed:
        return LoadControl::DateWeighed;
    case SaveCheckField::VolumeMethod:
        return LoadControl::VolumeMethod;
    case SaveCheckField::ScalerName:
        return LoadControl::ScalerName;
    default:
        return LoadControl::ScalerPermit;
    }
}

} // namespace

LoadDocument::LoadDocument(const LoadEnvironment& env)
    : env_(env), reactions_(*this), cull_(*this) {
    if (env_.defaults == nullptr || env_.counter == nullptr || env_.prompt == nullptr)
        throw BrimloError(
            "A load window needs the defaults record, the workspace counter and a prompt");
    setView(env_.view);
}

LoadDocument::~LoadDocument() = default;

void LoadDocument::setView(LoadView* view) {
    view_ = view != nullptr ? view : &nullView_;
}

// --- coming into being -------------------------------------------------------

std::unique_ptr<LoadDocument> LoadDocument::NewLoad(const LoadEnvironment& env) {
    std::unique_ptr<LoadDocument> doc(new LoadDocument(env));
    doc->startNewLoad();
    return doc;
}

std::unique_ptr<LoadDocument> LoadDocument::OpenLoadFile(const LoadEnvironment& env,
                                                         const std::string& fileName) {
    std::unique_ptr<LoadDocument> doc(new LoadDocument(env));
    doc->flags_.Modified = false;
    doc->fileName_ = fileName;
    BusyScope busy(doc->view());
    doc->CreateWorkspace();
    doc->tally_.Clear();
    doc->readLoadFile(fileName);
    doc->workspace_->publish();
    return doc;
}

std::unique_ptr<LoadDocument> LoadDocument::TakeOverWorkspace(const LoadEnvironment& env, int32_t n,
                                                              const std::string& headerFileName) {
    std::unique_ptr<LoadDocument> doc(new LoadDocument(env));
    doc->fileName_ = doc->UntitledName(env.counter->increment());
    env.counter->raiseTo(n);
    doc->tally_.Clear();
    doc->takeOver(headerFileName);
    return doc;
}

void LoadDocument::CreateWorkspace() {
    const int32_t n = env_.counter->takeFreeNumber(env_.appDataDirectory);
    workspace_ = LoadWorkspace::Named(env_.appDataDirectory, n);
    try {
        workspace_->build();
    } catch (const BrimloError&) {
        // No window opens, so nothing else would ever remove what was made.
        try {
            workspace_->remove();
        } catch (const BrimloError&) { // the creation error is the one to show
        }
        throw;
    }
    wireLog();
    wireHeader();
}

void LoadDocument::wireLog() {
    reactions_.wireLog(workspace_->log());
}

void LoadDocument::wireHeader() {
    reactions_.wireHeader(workspace_->header());
}

void LoadDocument::startNewLoad() {
    CreateWorkspace();
    fileName_ = UntitledName(env_.counter->value());
    header().insert();
    SeedHeaderFromDefaults();
    log().insert();
    log().post();
    reactions_.RecalcLogVolumes();
    tally_.CountCombination(field(LogField::SPECIES).asString(),
                            field(LogField::CONDCODE).asString(),
                            field(LogField::PRODCODE).asString(), nullptr);
    // The codes counted are the ones the next change releases.
    reactions_.tblLogAfterScroll();
    showCountText();
    reactions_.chkTrimAllowanceClick(defaultText("TRIM_ALLOWANCE") == "T");
    workspace_->publish();
}

// An unreadable file has been reported by the reader; one that cannot be
// understood leaves the window without a load, and the user learns why.
void LoadDocument::readLoadFile(const std::string& fileName) {
    try {
        LoadFileReadResult result = ReadLoadFile(fileName, prompt());
        if (!result.read) {
            closeRequested_ = true;
            return;
        }
        fillWorkspace(result.load);
        reactions_.chkTrimAllowanceClick(result.load.trimAllowance);
        if (result.hideTrimAllowance)
            view().hideTrimAllowance();
        log().last();
        tally_.WarnIfOverTwelve(prompt());
    } catch (const BrimloError& error) {
        workspace_->close();
        prompt().error(error.text());
    }
}

void LoadDocument::fillWorkspace(const LoadData& load) {
    Dataset& logs = log();
    BulkScope bulk(logs);
    for (const LogRecord& record : load.logs) {
        logs.insert();
        AssignLog(*workspace_, record);
        logs.post();
        tally_.CountCombination(record.SPECIES, record.CONDCODE, record.PRODCODE, nullptr);
    }
    bulk.finish();
    if (!load.hasHeader)
        return;
    header().insert();
    AssignHeader(*workspace_, load.header);
    header().post();
}

void LoadDocument::takeOver(const std::string& headerFileName) {
    workspace_ = LoadWorkspace::FromHeaderFile(headerFileName);
    try {
        workspace_->openLog();
        wireLog();
        tally_.CountLogs(LogsOf(*workspace_));
        tally_.WarnIfOverTwelve(prompt());
        log().last();
        flags_.LastLogNumber = field(LogField::LOGNUM).asInt();
        workspace_->openHeader();
        wireHeader();
    } catch (const BrimloError& error) {
        workspace_->close();
        prompt().error(error.text());
    }
}

void LoadDocument::windowShown() {
    captionPrefix_ = kDataEntryCaptionPrefix;
    view().setCaption(caption());
    flags_.CloseAsked = 0;
    showCountText();
    flags_.AskToSave = true;
    flags_.Loading = false;
}

// --- the header seed and the defaults record ---------------------------------

std::string LoadDocument::defaultText(const char* field) const {
    return env_.defaults->field(field).asString();
}

int32_t LoadDocument::defaultNumber(const char* field) const {
    return env_.defaults->field(field).asInt();
}

Date LoadDocument::today() const {
    return env_.today ? env_.today() : SystemToday();
}

// The defaults record names each header default as the header names the
// field it seeds; the seeds are written in this order.
void LoadDocument::SeedHeaderFromDefaults() {
    using H = HeaderField;
    enum class Seed { Text, Number, Weight, Smalian };
    static constexpr std::pair<H, Seed> kSeeds[] = {
        {H::LESSEE, Seed::Text},
        {H::MILL_NAME, Seed::Text},
        {H::DISP, Seed::Text},
        {H::SUBDISP, Seed::Text},
        {H::MILL_NUM, Seed::Number},
        {H::BLOCK_NUM, Seed::Text},
        {H::LOAD_NUM, Seed::Number},
        {H::POP, Seed::Number},
        {H::HTOPD, Seed::Number},
        {H::NETWEIGHT, Seed::Weight},
        {H::TM9, Seed::Text},
        {H::HSPECIES, Seed::Text},
        {H::HCONDCODE, Seed::Text},
        {H::HPRODCODE, Seed::Text},
        {H::SOURCE, Seed::Text},
        {H::MILL_CODE, Seed::Text},
        {H::TREES, Seed::Number},
        {H::SAWLOGS, Seed::Text},
        {H::VOL_CALC_METH, Seed::Smalian},
        {H::SCALER_NAME, Seed::Text},
        {H::SCALER_PERMIT, Seed::Text},
    };
    Dataset& h = header();
    if (!h.isEditing())
        h.edit();
    for (const auto& [f, seed] : kSeeds) {
        const char* name = FieldName(f);
        switch (seed) {
        case Seed::Text:
            setField(f, defaultText(name));
            break;
        case Seed::Number:
            setField(f, Value(defaultNumber(name)));
            break;
        case Seed::Weight:
            setField(f, Value(static_cast<double>(defaultNumber(name))));
            break;
        case Seed::Smalian: // every new load starts with Smalian's formula
            setField(f, Value("S"));
            break;
        }
    }
    const Date date = env_.defaults->field(FieldName(H::DATEWEIGHED)).asDate();
    setField(H::DATEWEIGHED, Value(date.valid() ? date : today()));
    h.post();
}

// --- names -------------------------------------------------------------------

std::string LoadDocument::dataDirectory() const {
    return defaultText("DEFAULT_DATA_PATH");
}

std::string LoadDocument::UntitledName(int32_t n) const {
    const std::string name = kUntitledStem + std::to_string(n) + kTextExtension;
    const std::string dir = dataDirectory();
    if (dir.empty())
        return name;
    return EndsWithSeparator(dir) ? dir + name : dir + SeparatorFor(dir) + name;
}

bool LoadDocument::isUntitled() const {
    return fileName_.find(kUntitledStem) != std::string::npos;
}

bool LoadDocument::hasLoad() const {
    return workspace_ && workspace_->hasLog() && workspace_->hasHeader();
}

std::string LoadDocument::ProposedFileName() const {
    return Trimmed(field(HeaderField::MILL_CODE).asString()) +
           PrintedDigits("%03ld", field(HeaderField::POP).asInt(), 2, 2) +
           PrintedDigits("%05ld", field(HeaderField::LOAD_NUM).asInt(), 2, 4);
}

std::string LoadDocument::SaveFolder() const {
    if (isUntitled()) {
        const auto slash = fileName_.find_last_of("/\\");
        return slash == std::string::npos ? std::string() : fileName_.substr(0, slash);
    }
    return dataDirectory();
}

// --- the reactions' helpers --------------------------------------------------

bool LoadDocument::StartLogEdit() {
    Dataset& d = log();
    if (d.isEditing())
        return false;
    d.edit();
    return true;
}

void LoadDocument::EndLogEdit(bool started) {
    if (started && log().isEditing())
        log().post();
}

std::string LoadDocument::volumeMethod() const {
    return field(HeaderField::VOL_CALC_METH).asString();
}

char LoadDocument::volumeMethodChar() const {
    return FirstOrBlank(volumeMethod());
}

void LoadDocument::showCountText() {
    view().showStatus(tally_.CountText());
}

// --- moving between logs -------------------------------------------------------

bool LoadDocument::AppendLog() {
    Dataset& d = log();
    if (d.recordCount() >= kMaxLogs) {
        prompt().message("The maximum number of logs allowed is " + std::to_string(kMaxLogs),
                         "Log Data Append", PromptIcon::Error);
        return false;
    }
    d.insert();
    if (d.state() == DatasetState::Insert)
        d.post();
    view().focusControl(LoadControl::Species, false);
    return true;
}

void LoadDocument::NextOrAppendLog() {
    Dataset& d = log();
    if (d.isEmpty() || d.recNo() == d.recordCount())
        AppendLog();
    else
        d.next();
}

bool LoadDocument::GoToLogNumber(int32_t number) {
    PostPendingEdits();
    if (log().locate({{FieldName(LogField::LOGNUM), Value(number)}}))
        return true;
    prompt().message("Error: Unable to find log number: " + std::to_string(number),
                     "Error: Log Number Not Found", PromptIcon::Error);
    return false;
}

// --- saving and closing ------------------------------------------------------

void LoadDocument::PostPendingEdits() {
    if (workspace_->hasHeader() && header().isEditing())
        header().post();
    if (workspace_->hasLog() && log().isEditing())
        log().post();
}

LoadData LoadDocument::BuildLoadData() {
    LoadData load;
    load.hasHeader = !header().isEmpty();
    if (load.hasHeader)
        load.header = HeaderOf(*workspace_);
    load.logs = LogsOf(*workspace_);
    load.trimAllowance = flags_.TrimAllowance;
    return load;
}

LoadSummary LoadDocument::BuildSummary() {
    const LoadData load = BuildLoadData();
    return ComputeLoadSummary(load.header, load.logs);
}

bool LoadDocument::validateForSave() {
    // The hidden method selector always shows the load's method.
    const std::string methodText = volumeMethod() == "A" ? kAlbertaMethodName : kSmalianMethodName;
    SaveCheckField failed = SaveCheckField::None;
    if (ValidateLoadForSave(BuildLoadData(), tally_, methodText, prompt(), &failed))
        return true;
    if (failed != SaveCheckField::Combinations && failed != SaveCheckField::FieldWidth &&
        failed != SaveCheckField::None) {
        view().showHeaderPage();
        view().focusControl(ControlOfCheck(failed), true);
    }
    return false;
}

bool LoadDocument::writeTo(const std::string& fileName) {
    if (!WriteLoadFile(BuildLoadData(), fileName, prompt()))
        return false;
    flags_.Modified = false;
    return true;
}

// An untitled load goes on to the dialog without checking a second time,
// so the over-twelve question is asked once per save.
bool LoadDocument::SaveLoad() {
    if (!hasLoad())
        return false;
    PostPendingEdits();
    if (!validateForSave())
        return false;
    if (isUntitled())
        return saveAsChecked();
    return writeTo(fileName_);
}

bool LoadDocument::SaveLoadAs() {
    if (!hasLoad())
        return false;
    PostPendingEdits();
    if (!validateForSave())
        return false;
    return saveAsChecked();
}

bool LoadDocument::saveAsChecked() {
    const std::optional<std::string> chosen =
        view().askSaveFileName(ProposedFileName(), SaveFolder());
    if (!chosen)
        return false;
    fileName_ = *chosen;
    if (!writeTo(fileName_))
        return false;
    view().setCaption(caption());
    return true;
}

bool LoadDocument::CloseQuery() {
    // A window that holds no load has nothing to save.
    if (!flags_.Modified || !hasLoad())
        return true;
    PostPendingEdits();
    if (flags_.CloseAsked > 0)
        return true;
    ++flags_.CloseAsked;
    if (!flags_.AskToSave)
        return true;
    const PromptAnswer answer = prompt().ask("Save file '" + fileName_ + "' before closing?",
                                             "Save before closing?", PromptButtons::YesNoCancel);
    if (answer == PromptAnswer::No)
        return true;
    if (answer == PromptAnswer::Yes && SaveLoad())
        return true;
    flags_.CloseAsked = 0;
    return false;
}

void LoadDocument::Close() {
    if (workspace_)
        workspace_->remove();
}

} // namespace brimlo
