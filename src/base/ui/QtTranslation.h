#pragma once
#include <QString>

// Qt's own texts (the file dialogs, the buttons of message boxes, the menu
// of a text field) in the chosen language: Qt's translation catalogue of that
// language replaces the one loaded before. English, or a language Qt has no
// catalogue for, leaves them in English. True when a catalogue is in use.
bool UseQtTranslation(const QString& languageCode);

// The same for the language of the application's language file (its message
// "qtlocale", for example "ja"); a file without it means English.
bool UseQtTranslationOfLanguageFile();
