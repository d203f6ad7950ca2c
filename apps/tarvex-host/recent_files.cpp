#include "recent_files.h"

#include <QFileInfo>

#include "platform/error/error.h"

namespace tarvex::desktop {

namespace {

constexpr const char* kApplication = "TARVEX-Host";
constexpr const char* kSection = "Zuletzt";

}  // namespace

QStringList RecentFiles::paths() const {
    QStringList list;
    try {
        for (int i = 1; i <= kCount; ++i) {
            const auto value =
                store_.get(kApplication, kSection, (kind_ + QString::number(i)).toStdString());
            if (value && !value->empty()) list << QString::fromStdString(*value);
        }
    } catch (const Error&) {
    }
    return list;
}

void RecentFiles::add(const QString& path) {
    QStringList list = paths();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    list.removeAll(absolute);
    list.prepend(absolute);
    try {
        for (int i = 0; i < kCount; ++i)
            store_.set(kApplication, kSection, (kind_ + QString::number(i + 1)).toStdString(),
                       i < list.size() ? list[i].toStdString() : std::string());
    } catch (const Error&) {
    }
}

}  // namespace tarvex::desktop
