#pragma once
// The toolkit's own texts (file and colour dialogs, the Oui/Non buttons of questions,
// the edit menus of text boxes) in French, like the rest of the program.
class QCoreApplication;

namespace vermeo {

// Loads Qt's French catalogue into the application; returns false when it is not
// installed, in which case those texts stay in English.
bool installFrenchTranslations(QCoreApplication &app);

} // namespace vermeo
