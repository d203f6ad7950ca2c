#pragma once
// Qt's own texts (standard dialogs and buttons, key names such as "Strg+S") in the language of
// the user's locale, from the translations installed with Qt.

class QCoreApplication;

namespace tarvex::desktop {

// Loads Qt's translation for QLocale()'s language into `app`. False when the locale is English
// or no translation is installed for it (Qt's English texts stay).
bool installQtTranslations(QCoreApplication& app);

}  // namespace tarvex::desktop
