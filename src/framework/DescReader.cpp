#include "DescReader.h"

#include "Exceptions.h"
#include "Form.h"
#include "WinControl.h"

#include <cstring>
#include <utility>

void TDescReader::Read(const TDescNode& node) {
    if (node.ClassName != FRoot.ClassName())
        throw EReadError(Format("Window description of %s given to %s", node.ClassName.c_str(),
                                FRoot.ClassName()));
    FRoot.SetName(node.Name);
    const TClassInfo* info = FindClassInfo(FRoot.ClassName());
    Apply(FRoot, info ? *info : *FindClassInfo("TForm"), node);
    ReadChildren(FRoot, node);
    for (auto& fixup : FFixups)
        fixup();
    FFixups.clear();
}

void TDescReader::ReadChildren(TComponent& parent, const TDescNode& node) {
    for (const TDescNode& child : node.Children) {
        const TClassInfo* info = FindClassInfo(child.ClassName);
        if (!info)
            throw EReadError(Format("Window description, line %d: class %s not found", child.Line,
                                    child.ClassName.c_str()));
        if (!info->Create)
            throw EReadError(Format("Window description, line %d: class %s is registered "
                                    "without a way to make one",
                                    child.Line, child.ClassName.c_str()));
        if (FRoot.FindComponent(child.Name))
            throw EReadError(Format("Window description, line %d: a component named %s "
                                    "already exists",
                                    child.Line, child.Name.c_str()));
        TComponent* component = info->Create(&FRoot);
        component->SetName(child.Name);
        auto control = dynamic_cast<TControl*>(component);
        auto container = dynamic_cast<TWinControl*>(&parent);
        if (control && container)
            control->SetParent(container);
        else if (control)
            throw EReadError(Format("Window description, line %d: %s cannot hold controls",
                                    child.Line, parent.Name().c_str()));
        Apply(*component, *info, child);
        ReadChildren(*component, child);
    }
}

void TDescReader::Apply(TComponent& target, const TClassInfo& info, const TDescNode& node) {
    FPath = node.Name;
    for (const TDescProperty& property : node.Properties) {
        const TPropertySetter* setter = info.FindProperty(property.Name);
        if (!setter)
            Fail(property,
                 Format("%s has no property %s", info.Name.c_str(), property.Name.c_str()));
        (*setter)(target, property, *this);
    }
}

void TDescReader::Fail(const TDescProperty& property, const std::string& what) const {
    throw EReadError(Format("Error reading %s.%s (line %d): %s", FPath.c_str(),
                            property.Name.c_str(), property.Line, what.c_str()));
}

const TDescValue& TDescReader::Item(const TDescProperty& property, size_t index,
                                    TDescValue::TKind kind, const char* what) {
    if (index >= property.Values.size() || property.Values[index].Kind != kind)
        Fail(property, Format("%s expected", what));
    return property.Values[index];
}

int TDescReader::Integer(const TDescProperty& property, size_t index) {
    long long value = Item(property, index, TDescValue::Number, "a number").Integer;
    if (value < INT_MIN || value > static_cast<long long>(UINT_MAX))
        Fail(property, "number out of range");
    return int(value);
}

std::string TDescReader::String(const TDescProperty& property, size_t index) {
    return Item(property, index, TDescValue::String, "a string").Text;
}

bool TDescReader::Boolean(const TDescProperty& property) {
    return Enum(property, {"False", "True"}) == 1;
}

int TDescReader::Enum(const TDescProperty& property, std::initializer_list<const char*> names,
                      size_t index) {
    const std::string& text = Item(property, index, TDescValue::Identifier, "a name").Text;
    int ordinal = 0;
    for (const char* name : names) {
        if (text == name)
            return ordinal;
        ordinal++;
    }
    Fail(property, Format("%s is not a valid value", text.c_str()));
}

unsigned TDescReader::Set(const TDescProperty& property, std::initializer_list<const char*> names,
                          size_t index) {
    unsigned bits = 0;
    for (const std::string& member : Item(property, index, TDescValue::Set, "a set").Items) {
        unsigned bit = 1;
        for (const char* name : names) {
            if (member == name)
                break;
            bit <<= 1;
        }
        if (bit == 1u << names.size())
            Fail(property, Format("%s is not a valid set member", member.c_str()));
        bits |= bit;
    }
    return bits;
}

static const std::pair<const char*, TColor> ColorNames[] = {
    {"clBlack", clBlack},         {"clWhite", clWhite},
    {"clGray", clGray},           {"clNavy", clNavy},
    {"clFuchsia", clFuchsia},     {"clWindowFrame", clWindowFrame},
    {"clBtnFace", clBtnFace},     {"clBtnShadow", clBtnShadow},
    {"clBtnText", clBtnText},     {"clBtnHighlight", clBtnHighlight},
    {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText},
    {"clWindow", clWindow},       {"clWindowText", clWindowText},
};

TColor TDescReader::Color(const TDescProperty& property, size_t index) {
    if (index < property.Values.size() && property.Values[index].Kind == TDescValue::Number)
        return TColor(Integer(property, index));
    const std::string& name = Item(property, index, TDescValue::Identifier, "a colour").Text;
    for (auto& [colorName, color] : ColorNames)
        if (name == colorName)
            return color;
    Fail(property, Format("%s is not a colour", name.c_str()));
}

static const std::pair<const char*, int> CharsetNames[] = {
    {"ANSI_CHARSET", ANSI_CHARSET},
    {"DEFAULT_CHARSET", DEFAULT_CHARSET},
    {"EASTEUROPE_CHARSET", EASTEUROPE_CHARSET},
};

int TDescReader::Charset(const TDescProperty& property, size_t index) {
    if (index < property.Values.size() && property.Values[index].Kind == TDescValue::Number)
        return Integer(property, index);
    const std::string& name = Item(property, index, TDescValue::Identifier, "a charset").Text;
    for (auto& [charsetName, charset] : CharsetNames)
        if (name == charsetName)
            return charset;
    Fail(property, Format("%s is not a character set", name.c_str()));
}

std::string TDescReader::Resource(const TDescProperty& property) {
    return Item(property, 0, TDescValue::Resource, "a resource name").Text;
}

TNotifyEvent TDescReader::Event(const TDescProperty& property) {
    const std::string& name = Item(property, 0, TDescValue::Identifier, "a handler name").Text;
    const TNotifyEvent* handler = FRoot.FindHandler(name);
    if (!handler)
        Fail(property, Format("%s has no handler %s", FRoot.ClassName(), name.c_str()));
    return *handler;
}

void TDescReader::Reference(const TDescProperty& property,
                            std::function<void(TComponent*)> assign) {
    std::string name = Item(property, 0, TDescValue::Identifier, "a component name").Text;
    std::string path = FPath;
    FFixups.push_back([this, name, path, property, assign] {
        TComponent* component = FRoot.FindComponent(name);
        if (!component) {
            FPath = path;
            Fail(property, Format("no component named %s", name.c_str()));
        }
        assign(component);
    });
}
