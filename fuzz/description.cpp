// The reader of stored window descriptions. Text it accepts is written back out and read
// again, which must give the same tree; text it refuses raises the read error naming a line.
#include "framework/Description.h"
#include "FuzzSupport.h"
#include "framework/Exceptions.h"

#include <algorithm>

// Trees are equal in everything but the line numbers.
static bool operator==(const TDescValue& a, const TDescValue& b) {
    return a.Kind == b.Kind && a.Integer == b.Integer && a.Text == b.Text && a.Items == b.Items;
}

static bool operator==(const TDescProperty& a, const TDescProperty& b) {
    return a.Name == b.Name && a.Values == b.Values;
}

static bool operator==(const TDescNode& a, const TDescNode& b) {
    return a.ClassName == b.ClassName && a.Name == b.Name && a.Properties == b.Properties &&
           a.Children == b.Children;
}

namespace {

std::string Quote(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string Written(const TDescValue& value) {
    switch (value.Kind) {
    case TDescValue::Number:
        return std::to_string(value.Integer);
    case TDescValue::String:
        return Quote(value.Text);
    case TDescValue::Identifier:
        return value.Text;
    case TDescValue::Resource:
        return "@" + value.Text;
    case TDescValue::Set: {
        std::string set = "[";
        for (const std::string& item : value.Items)
            set += (set.size() > 1 ? ", " : "") + item;
        return set + "]";
    }
    }
    std::abort();
}

void Write(const TDescNode& node, std::string& text) {
    text += node.ClassName + " " + node.Name + " {\n";
    for (const TDescProperty& property : node.Properties) {
        text += property.Name + " =";
        for (const TDescValue& value : property.Values)
            text += " " + Written(value);
        text += "\n";
    }
    for (const TDescNode& child : node.Children)
        Write(child, text);
    text += "}\n";
}

// Every line number lies within the text.
void CheckLines(const TDescNode& node, int lines) {
    FUZZ_CHECK(node.Line >= 1 && node.Line <= lines);
    for (const TDescProperty& property : node.Properties)
        FUZZ_CHECK(property.Line >= node.Line && property.Line <= lines);
    for (const TDescNode& child : node.Children)
        CheckLines(child, lines);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    int lines = 1 + int(std::count(text.begin(), text.end(), '\n'));
    TDescNode tree;
    try {
        tree = ParseDescription(text);
    } catch (const EReadError& error) {
        int line = 0;
        FUZZ_CHECK(std::sscanf(error.Message.c_str(), "Window description, line %d: ", &line) == 1);
        FUZZ_CHECK(line >= 1 && line <= lines);
        return 0;
    }
    CheckLines(tree, lines);
    std::string written;
    Write(tree, written);
    FUZZ_CHECK(ParseDescription(written) == tree);
    return 0;
}
