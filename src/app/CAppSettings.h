#pragma once
#include <string>

// The program's own preference between runs: the display language, the file
// name (without directory) of the language file to use.
class CAppSettings {
public:
    // Reads "Settings"/"DisplayLanguage" from the application's profile. With
    // nothing stored, the user's locale chooses the default, which is not
    // written back: a later change of locale still takes effect.
    void Load();

    // Writes the display language to the application's profile.
    void Save() const;

    const std::wstring& GetDisplayLanguage() const { return m_displayLanguage; }
    void SetDisplayLanguage(const std::wstring& fileName) { m_displayLanguage = fileName; }

    // "Japanese.lng" when the user's locale for messages is Japanese, else
    // "English.lng".
    static std::wstring DefaultDisplayLanguage();

private:
    std::wstring m_displayLanguage;
};
