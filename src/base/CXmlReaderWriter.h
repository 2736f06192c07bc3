#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

// The small XML document through which every XML file of the system is read
// or written: configuration files and language files. Nodes are chosen by
// XPath expressions evaluated from the document; every failure is raised as
// CPrivateException, and a path that selects nothing is a failure, never an
// empty text.
class CXmlReaderWriter {
public:
    CXmlReaderWriter();
    CXmlReaderWriter(const CXmlReaderWriter&) = delete;
    CXmlReaderWriter& operator=(const CXmlReaderWriter&) = delete;
    virtual ~CXmlReaderWriter();

    // New document: the declaration (version 1.0, UTF-8), then the document element.
    void Create(const std::wstring& rootName);

    // Loads a file. The held document is replaced only when the new one loaded.
    // Only a regular file of at most 16 MiB is read; anything else is refused
    // before it is read (a FIFO or a device is not even opened).
    void Load(const std::filesystem::path& path);

    // Writes the document as UTF-8 XML 1.0 without added white space. The file
    // is written beside the target and renamed over it, so a failed save
    // leaves an existing file as it was and no temporary file behind. A
    // symbolic link is followed and the file it names replaced, the link kept.
    // Only a regular file that the user may change is replaced: anything else
    // is refused before anything is written (CheckSaveTarget).
    void Save(const std::filesystem::path& path) const;

    // Raises what Save would refuse the path for before writing anything: a
    // folder, FIFO, device or socket, a read-only file, a loop of links. For
    // callers that should refuse a path before long work, not after it.
    static void CheckSaveTarget(const std::filesystem::path& path);

    pugi::xml_node AppendElement(const std::wstring& parentPath, const std::wstring& name);
    void AppendTextElement(const std::wstring& parentPath, const std::wstring& name, const std::wstring& text);
    void AppendTextElementWithAttribute(const std::wstring& parentPath, const std::wstring& name,
                                        const std::wstring& text, const std::wstring& attributeName,
                                        const std::wstring& attributeValue);

    // Text of the single node the path selects (an element's text content,
    // or an attribute's value).
    std::wstring GetText(const std::wstring& path) const;
    // The texts of every node the path selects, in document order: none when
    // it selects nothing.
    std::vector<std::wstring> GetTexts(const std::wstring& path) const;

    bool HasDocument() const { return m_document != nullptr; }

private:
    pugi::xpath_node SelectSingle(const std::wstring& path) const;

    std::unique_ptr<pugi::xml_document> m_document;
    pugi::xml_node m_root;
};
