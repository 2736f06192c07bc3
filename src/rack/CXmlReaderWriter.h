#pragma once
#include <memory>
#include <string>

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
    void Load(const std::wstring& path);

    // Writes the document as UTF-8 XML 1.0 without added white space. The file
    // is written beside the target and renamed over it, so a failed save
    // leaves an existing file as it was.
    void Save(const std::wstring& path) const;

    pugi::xml_node AppendElement(const std::wstring& parentPath, const std::wstring& name);
    void AppendTextElement(const std::wstring& parentPath, const std::wstring& name, const std::wstring& text);
    void AppendTextElementWithAttribute(const std::wstring& parentPath, const std::wstring& name,
                                        const std::wstring& text, const std::wstring& attributeName,
                                        const std::wstring& attributeValue);

    // Text of the single node the path selects (an element's text content,
    // or an attribute's value).
    std::wstring GetText(const std::wstring& path) const;

    bool HasDocument() const { return m_document != nullptr; }

private:
    pugi::xpath_node SelectSingle(const std::wstring& path) const;

    std::unique_ptr<pugi::xml_document> m_document;
    pugi::xml_node m_root;
};
