// The program speaks Japanese only: Qt's own texts (file dialogs, the
// context menus of edits, standard buttons, calendars) come from Qt's
// Japanese translations, whatever LANG says.
#pragma once

namespace kashidashi {

// Installs Qt's Japanese translations (qtbase_ja, Debian's
// qt6-translations-l10n) into the running application and makes Japanese
// the default locale. Call once the application object exists. False when
// the translations are not installed: Qt's texts then stay English.
bool InstallJapaneseTexts();

}  // namespace kashidashi
