#include "platform/settings/qt_settings_store.h"

#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <cstdlib>

#include "platform/error/error.h"

namespace tarvex {

namespace {

QString q(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// QSettings' own status is the one place its failures become our error number.
void check(const QSettings& settings, const char* what) {
    switch (settings.status()) {
        case QSettings::NoError:
            return;
        case QSettings::AccessError:
            throw Error(errc::fileError, std::string("Einstellungen nicht ") + what + ": " +
                                             settings.fileName().toStdString());
        case QSettings::FormatError:
            throw Error(errc::fileError,
                        "Einstellungsdatei fehlerhaft: " + settings.fileName().toStdString());
    }
}

class QtSettingsStore final : public SettingsStore {
  public:
    explicit QtSettingsStore(std::string root) : root_(std::move(root)) {}

    std::optional<std::string> get(const std::string& application, const std::string& section,
                                   const std::string& key) const override {
        const QString path = filePath(application);
        QFileInfo info(path);
        if (!info.exists()) return std::nullopt;
        if (!info.isFile() || !info.isReadable())
            throw Error(errc::fileError, "Einstellungen nicht lesbar: " + path.toStdString());
        QSettings settings(path, QSettings::IniFormat);
        check(settings, "lesbar");
        const QVariant value = settings.value(keyPath(section, key));
        if (!value.isValid()) return std::nullopt;
        // An unquoted "1234,5" written by hand reads back as a list split at the comma.
        if (value.typeId() == QMetaType::QStringList)
            return value.toStringList().join(QLatin1Char(',')).toStdString();
        return value.toString().toStdString();
    }

    void set(const std::string& application, const std::string& section, const std::string& key,
             const std::string& value) override {
        QSettings settings(filePath(application), QSettings::IniFormat);
        check(settings, "lesbar");
        settings.setValue(keyPath(section, key), q(value));
        settings.sync();
        check(settings, "schreibbar");
    }

  private:
    QString filePath(const std::string& application) const {
        if (application.empty() || application == "." || application == ".." ||
            application.find_first_of("/\\") != std::string::npos)
            throw Error(errc::invalidCall, "Ungültiger Anwendungsname: " + application);
        return q(root_ + "/Lumora/" + application + ".ini");
    }
    // QSettings reads "/" as a group separator; sections and keys are single names here.
    static QString keyPath(const std::string& section, const std::string& key) {
        QString s = q(section), k = q(key);
        s.replace(QLatin1Char('/'), QLatin1Char('_'));
        k.replace(QLatin1Char('/'), QLatin1Char('_'));
        return s + QLatin1Char('/') + k;
    }

    std::string root_;
};

}  // namespace

std::string userConfigRoot() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home && home[0] ? home : "/tmp") + "/.config";
}

std::shared_ptr<SettingsStore> makeQtSettingsStore(const std::string& configRoot) {
    return std::make_shared<QtSettingsStore>(configRoot.empty() ? userConfigRoot() : configRoot);
}

}  // namespace tarvex
