#include "base/CXmlReaderWriter.h"

#include "base/CMessageFormatter.h"
#include "base/CPrivateException.h"
#include "base/FilePath.h"
#include "base/RegularFile.h"
#include "base/TextConvert.h"

#include <sstream>

namespace {

[[noreturn]] void Raise(const std::wstring& text) {
    // Everything here is about a file or the document read from one.
    throw CPrivateException(FailureKind::File, text);
}

std::pair<int, int> LineAndColumn(const std::string& content, std::ptrdiff_t offset) {
    int line = 1;
    int column = 1;
    std::size_t end = offset < 0 ? 0 : static_cast<std::size_t>(offset);
    if (end > content.size()) {
        end = content.size();
    }
    for (std::size_t i = 0; i < end; ++i) {
        if (content[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return {line, column};
}

void CollectText(const pugi::xml_node& node, std::string& out) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            out += child.value();
        } else if (child.type() == pugi::node_element) {
            CollectText(child, out);
        }
    }
}

} // namespace

CXmlReaderWriter::CXmlReaderWriter() = default;
CXmlReaderWriter::~CXmlReaderWriter() = default;

void CXmlReaderWriter::Create(const std::wstring& rootName) {
    auto document = std::make_unique<pugi::xml_document>();
    pugi::xml_node declaration = document->append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "utf-8";
    pugi::xml_node root = document->append_child(ToUtf8(rootName).c_str());
    if (!declaration || !root) {
        Raise(L"XML: cannot create the document element \"" + rootName + L"\".");
    }
    m_document = std::move(document);
    m_root = root;
}

void CXmlReaderWriter::Load(const std::filesystem::path& path) {
    const std::string content = ReadRegularFile(path);

    auto document = std::make_unique<pugi::xml_document>();
    pugi::xml_parse_result result = document->load_buffer(content.data(), content.size(),
                                                           pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single);
    // An empty file (a save that never happened, a truncated copy) says so.
    const auto holdsNothing = [&] {
        Raise(CMessageFormatter::Printf(L"\"%s\" holds no XML document: the file is empty or has no element.",
                                        DisplayPath(path)));
    };
    if (result.status == pugi::status_no_document_element) {
        holdsNothing();
    }
    if (!result) {
        auto [line, column] = LineAndColumn(content, result.offset);
        Raise(CMessageFormatter::Printf(L"\"%s\" is not well-formed XML: line %d, column %d: %s", DisplayPath(path), line,
                                        column, FromUtf8(result.description())));
    }
    pugi::xml_node root = document->document_element();
    if (!root) {
        holdsNothing();
    }
    m_document = std::move(document);
    m_root = root;
}

void CXmlReaderWriter::CheckSaveTarget(const std::filesystem::path& path) {
    CheckReplaceableFile(path);
}

void CXmlReaderWriter::Save(const std::filesystem::path& path) const {
    if (!m_document) {
        Raise(L"XML: there is no document to save.");
    }
    // Checked before the document is turned into bytes: a FIFO, a device or
    // a read-only file is never opened, let alone replaced.
    CheckReplaceableFile(path);
    std::ostringstream buffer;
    m_document->save(buffer, "", pugi::format_raw, pugi::encoding_utf8);
    ReplaceRegularFile(path, buffer.str());
}

pugi::xpath_node CXmlReaderWriter::SelectSingle(const std::wstring& path) const {
    if (!m_document) {
        Raise(L"XML: no document is loaded (looking for " + path + L").");
    }
    try {
        pugi::xpath_node found = m_document->select_node(ToUtf8(path).c_str());
        if (!found) {
            Raise(L"XML: nothing found at " + path + L".");
        }
        return found;
    } catch (const pugi::xpath_exception& error) {
        Raise(L"XML: invalid path " + path + L": " + FromUtf8(error.what()));
    }
}

pugi::xml_node CXmlReaderWriter::AppendElement(const std::wstring& parentPath, const std::wstring& name) {
    pugi::xpath_node parent = SelectSingle(parentPath);
    pugi::xml_node node = parent.node();
    if (!node || node.type() != pugi::node_element) {
        Raise(L"XML: " + parentPath + L" is not an element.");
    }
    pugi::xml_node child = node.append_child(ToUtf8(name).c_str());
    if (!child) {
        Raise(L"XML: cannot append \"" + name + L"\" under " + parentPath + L".");
    }
    return child;
}

void CXmlReaderWriter::AppendTextElement(const std::wstring& parentPath, const std::wstring& name,
                                         const std::wstring& text) {
    pugi::xml_node child = AppendElement(parentPath, name);
    if (!text.empty()) {
        child.text().set(ToUtf8(text).c_str());
    }
}

void CXmlReaderWriter::AppendTextElementWithAttribute(const std::wstring& parentPath, const std::wstring& name,
                                                      const std::wstring& text, const std::wstring& attributeName,
                                                      const std::wstring& attributeValue) {
    pugi::xml_node child = AppendElement(parentPath, name);
    if (!text.empty()) {
        child.text().set(ToUtf8(text).c_str());
    }
    child.append_attribute(ToUtf8(attributeName).c_str()) = ToUtf8(attributeValue).c_str();
}

namespace {

std::wstring TextOfNode(const pugi::xpath_node& found) {
    if (found.attribute()) {
        return FromUtf8(found.attribute().value());
    }
    pugi::xml_node node = found.node();
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
        return FromUtf8(node.value());
    }
    std::string text;
    CollectText(node, text);
    return FromUtf8(text);
}

} // namespace

std::wstring CXmlReaderWriter::GetText(const std::wstring& path) const {
    return TextOfNode(SelectSingle(path));
}

std::vector<std::wstring> CXmlReaderWriter::GetTexts(const std::wstring& path) const {
    if (!m_document) {
        Raise(L"XML: no document is loaded (looking for " + path + L").");
    }
    std::vector<std::wstring> texts;
    try {
        for (const pugi::xpath_node& found : m_document->select_nodes(ToUtf8(path).c_str())) {
            texts.push_back(TextOfNode(found));
        }
    } catch (const pugi::xpath_exception& error) {
        Raise(L"XML: invalid path " + path + L": " + FromUtf8(error.what()));
    }
    return texts;
}
