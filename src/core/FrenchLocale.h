#pragma once
// Vermeo is French whatever the session's locale: Qt's own texts, the sizes and dates
// of the file dialogs, numbers and the clock. Qt reads the system locale from the
// environment once; the C library and the programs Vermeo starts keep the session's.
namespace vermeo {

// Before the QApplication is made: the environment says French for Qt to read.
void startInFrench();
// Right after: Qt has taken French, the environment and the C library's locale are the
// session's again, and QLocale's default is French.
void settleInFrench();

} // namespace vermeo
