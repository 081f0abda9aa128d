#include "app/Unist.h"

#include <shlobj.h>

#include "win/Path.h"
#include "win/Str.h"

// MSXML's version-independent DOM document (msxml3, present on every Windows the program runs on).
static const CLSID kDomDocument = {0xf6d90f11, 0x9c73, 0x11d3, {0xb3, 0x2e, 0x00, 0xc0, 0x4f, 0x99, 0x0b, 0xb4}};

std::wstring GetProductMenuFolder(const std::wstring& product) {
    // The program list's own folder, whatever the system calls it in its language.
    return GetSpecialFolder(CSIDL_PROGRAMS) + L"\\" + product;
}

ComPtr<IXMLDOMDocument> CreateXmlDocument() {
    ComPtr<IXMLDOMDocument> doc;
    HRESULT hr = CoCreateInstance(kDomDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                  reinterpret_cast<void**>(doc.GetAddressOf()));
    if (FAILED(hr)) return nullptr;
    doc->put_async(VARIANT_FALSE);
    doc->put_validateOnParse(VARIANT_FALSE);
    doc->put_resolveExternals(VARIANT_FALSE);
    return doc;
}

// A VARIANT holding a file name, as load and save take it.
static void SetVariantText(ScopedVariant& var, const std::wstring& text) {
    VariantClear(&var);
    V_VT(&var) = VT_BSTR;
    V_BSTR(&var) = SysAllocString(text.c_str());
}

// Creates the element tag, sets its text when there is one and appends it to parent.
static ComPtr<IXMLDOMElement> AppendElement(IXMLDOMDocument* doc,
                                            IXMLDOMNode* parent,
                                            const wchar_t* tag,
                                            const std::wstring* text = nullptr) {
    ComPtr<IXMLDOMElement> element;
    ScopedBstr name(tag);
    if (!name.Get() || FAILED(doc->createElement(name.Get(), element.GetAddressOf())) || !element) return nullptr;
    if (text) {
        ScopedBstr value(text->c_str());
        if (!value.Get() || FAILED(element->put_text(value.Get()))) return nullptr;
    }
    ComPtr<IXMLDOMNode> added;
    if (FAILED(parent->appendChild(element.Get(), added.GetAddressOf()))) return nullptr;
    return element;
}

bool SaveUnistXml(IXMLDOMDocument* doc, const std::vector<__UNISTINFO>& list, const std::wstring& file) {
    ComPtr<IXMLDOMElement> root;
    ScopedBstr rootName(L"unist");
    if (!rootName.Get() || FAILED(doc->createElement(rootName.Get(), root.GetAddressOf())) || !root) return false;
    if (FAILED(doc->putref_documentElement(root.Get()))) return false;
    for (const __UNISTINFO& item : list) {
        ComPtr<IXMLDOMElement> node = AppendElement(doc, root.Get(), L"Node");
        if (!node) return false;
        std::wstring type = Format(L"%d", item.nType);
        if (!AppendElement(doc, node.Get(), L"Name", &item.strText)) return false;
        if (!AppendElement(doc, node.Get(), L"Type", &type)) return false;
    }
    ScopedVariant target;
    SetVariantText(target, file);
    return SUCCEEDED(doc->save(target.Get()));
}

// The text of node's child element tag; false when there is no such child.
static bool GetChildText(IXMLDOMNode* node, const wchar_t* tag, std::wstring& text) {
    ComPtr<IXMLDOMNode> child;
    ScopedBstr query(tag);
    if (FAILED(node->selectSingleNode(query.Get(), child.GetAddressOf())) || !child) return false;
    ScopedBstr value;
    if (FAILED(child->get_text(value.Receive()))) return false;
    text = value.Get() ? value.Get() : L"";
    return true;
}

// One <Node>: its name and its type, which must be a plain decimal number.
static bool ReadEntry(IXMLDOMNode* node, __UNISTINFO& entry) {
    ScopedBstr tag;
    if (FAILED(node->get_nodeName(tag.Receive())) || !tag.Get() || wcscmp(tag.Get(), L"Node") != 0) return false;
    std::wstring type;
    if (!GetChildText(node, L"Name", entry.strText) || !GetChildText(node, L"Type", type)) return false;
    entry.nType = ParseInt(type);
    return !type.empty() && Format(L"%d", entry.nType) == type;
}

static bool ReadEntries(IXMLDOMDocument* doc, std::vector<__UNISTINFO>& list) {
    ComPtr<IXMLDOMElement> root;
    ScopedBstr rootTag;
    if (FAILED(doc->get_documentElement(root.GetAddressOf())) || !root) return false;
    if (FAILED(root->get_tagName(rootTag.Receive())) || !rootTag.Get() || wcscmp(rootTag.Get(), L"unist") != 0)
        return false;
    ComPtr<IXMLDOMNodeList> children;
    long count = 0;
    if (FAILED(root->get_childNodes(children.GetAddressOf())) || !children || FAILED(children->get_length(&count)))
        return false;
    for (long i = 0; i < count; ++i) {
        ComPtr<IXMLDOMNode> child;
        DOMNodeType kind = NODE_INVALID;
        if (FAILED(children->get_item(i, child.GetAddressOf())) || !child) return false;
        child->get_nodeType(&kind);
        if (kind == NODE_TEXT || kind == NODE_COMMENT) continue;  // layout a hand editor may have added
        __UNISTINFO entry;
        if (kind != NODE_ELEMENT || !ReadEntry(child.Get(), entry)) return false;
        list.push_back(entry);
    }
    return !list.empty();
}

bool LoadUnistXml(const std::wstring& file, std::vector<__UNISTINFO>& list) {
    list.clear();
    if (!FileExists(file)) return false;
    ComPtr<IXMLDOMDocument> doc = CreateXmlDocument();
    if (!doc) return false;
    ScopedVariant source;
    SetVariantText(source, file);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (FAILED(doc->load(source.Get(), &loaded)) || loaded != VARIANT_TRUE || !ReadEntries(doc.Get(), list)) {
        list.clear();
        return false;
    }
    return true;
}
