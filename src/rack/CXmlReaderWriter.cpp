#include "rack/CXmlReaderWriter.h"

#include "app/CMessageFormatter.h"
#include "app/TextConvert.h"
#include "link/CPrivateException.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Raise(const std::wstring& text) {
    throw CPrivateException(text);
}

[[noreturn]] void RaiseFileError(const wchar_t* what, const std::wstring& path, int errorNumber) {
    Raise(CMessageFormatter::Printf(L"%s \"%s\": %s", what, path, CMessageFormatter::SystemErrorText(errorNumber)));
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

class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target) : m_path(target + ".XXXXXX") {
        m_fd = ::mkstemp(m_path.data());
    }
    ~TemporaryFile() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        if (!m_kept) {
            ::unlink(m_path.c_str());
        }
    }
    int fd() const { return m_fd; }
    const std::string& path() const { return m_path; }
    int CloseFile() {
        int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }
    void Keep() { m_kept = true; }

private:
    std::string m_path;
    int m_fd = -1;
    bool m_kept = false;
};

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

void CXmlReaderWriter::Load(const std::wstring& path) {
    const std::string utf8Path = ToUtf8(path);
    std::ifstream stream(utf8Path, std::ios::binary);
    if (!stream) {
        RaiseFileError(L"Cannot open the file", path, errno);
    }
    std::string content((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    if (stream.bad()) {
        RaiseFileError(L"Cannot read the file", path, errno);
    }

    auto document = std::make_unique<pugi::xml_document>();
    pugi::xml_parse_result result = document->load_buffer(content.data(), content.size(),
                                                           pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single);
    if (result.status == pugi::status_no_document_element) {
        Raise(L"CXmlReaderWriter::Load failed");
    }
    if (!result) {
        auto [line, column] = LineAndColumn(content, result.offset);
        Raise(CMessageFormatter::Printf(L"\"%s\" is not well-formed XML: line %d, column %d: %s", path, line,
                                        column, FromUtf8(result.description())));
    }
    pugi::xml_node root = document->document_element();
    if (!root) {
        Raise(L"CXmlReaderWriter::Load failed");
    }
    m_document = std::move(document);
    m_root = root;
}

void CXmlReaderWriter::Save(const std::wstring& path) const {
    if (!m_document) {
        Raise(L"XML: there is no document to save.");
    }
    std::ostringstream buffer;
    m_document->save(buffer, "", pugi::format_raw, pugi::encoding_utf8);
    const std::string bytes = buffer.str();

    const std::string target = ToUtf8(path);
    TemporaryFile temporary(target);
    if (temporary.fd() < 0) {
        RaiseFileError(L"Cannot write the file", path, errno);
    }
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t written = ::write(temporary.fd(), data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            RaiseFileError(L"Cannot write the file", path, errno);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (::fsync(temporary.fd()) != 0) {
        RaiseFileError(L"Cannot write the file", path, errno);
    }
    // Keep the permissions of a file that is being replaced.
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        ::fchmod(temporary.fd(), existing.st_mode & 07777);
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(temporary.fd(), 0666 & ~mask);
    }
    if (temporary.CloseFile() != 0) {
        RaiseFileError(L"Cannot write the file", path, errno);
    }
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
        RaiseFileError(L"Cannot write the file", path, errno);
    }
    temporary.Keep();
    // Make the rename itself durable, so a power loss cannot bring the old file back.
    const std::size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string(1, '.')
                               : slash == 0               ? std::string(1, '/')
                                                          : target.substr(0, slash);
    int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
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

std::wstring CXmlReaderWriter::GetText(const std::wstring& path) const {
    pugi::xpath_node found = SelectSingle(path);
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
