#include "support/LocalFileName.h"

#include "support/BrimloError.h"
#include "support/Cp1252.h"

#include <QFile>

namespace brimlo {

std::filesystem::path LocalFileName(const std::string& name) {
    return std::filesystem::path(QFile::encodeName(FromCp1252(name)).toStdString());
}

std::string HeldFileName(const QString& picked) {
    std::string held = ToCp1252(picked);
    if (FromCp1252(held) != picked)
        throw BrimloError("The name '" + held +
                          "' has characters this program cannot keep: choose another name");
    return held;
}

std::string ShownFileName(const std::filesystem::path& file) {
    return ToCp1252(QFile::decodeName(QByteArray::fromStdString(file.string())));
}

} // namespace brimlo
