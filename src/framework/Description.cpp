#include "Description.h"

#include "Exceptions.h"

#include <cctype>

namespace {

// Far more than any window holds; deeper text is refused before it can exhaust the stack.
constexpr int MaxNesting = 100;

class TParser {
  public:
    explicit TParser(std::string_view text) : FText(text) {}

    TDescNode Document() {
        TDescNode root = Node(1);
        SkipSpace();
        if (FPos < FText.size())
            Fail("text after the end of the description");
        return root;
    }

  private:
    TDescNode Node(int depth) {
        if (depth > MaxNesting)
            Fail(Format("components nested more than %d deep", MaxNesting));
        TDescNode node;
        node.Line = FLine;
        node.ClassName = Word("a class name");
        node.Name = Word("a component name");
        Expect('{');
        for (;;) {
            SkipSpace();
            if (Take('}'))
                return node;
            if (FPos >= FText.size())
                Fail(Format("missing } for %s", node.Name.c_str()));
            size_t mark = FPos;
            int line = FLine;
            std::string first = Word("a property or a class name");
            SkipBlanks();
            if (Peek() == '=') {
                FPos++;
                node.Properties.push_back({first, Values(), line});
            } else {
                FPos = mark;
                FLine = line;
                node.Children.push_back(Node(depth + 1));
            }
        }
    }

    std::vector<TDescValue> Values() {
        std::vector<TDescValue> values;
        for (;;) {
            SkipBlanks();
            char c = Peek();
            if (c == '\n' || c == '\0' || c == '#')
                break;
            values.push_back(Value());
        }
        if (values.empty())
            Fail("a value is missing after =");
        return values;
    }

    TDescValue Value() {
        TDescValue value;
        char c = Peek();
        if (c == '"') {
            value.Kind = TDescValue::String;
            value.Text = Quoted();
        } else if (c == '[') {
            value.Kind = TDescValue::Set;
            FPos++;
            SkipSpace();
            if (!Take(']')) {
                do {
                    value.Items.push_back(Word("a set member"));
                    SkipSpace();
                } while (Take(','));
                Expect(']');
            }
        } else if (c == '@') {
            FPos++;
            value.Kind = TDescValue::Resource;
            value.Text = Word("a resource name");
        } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
            value.Integer = Number();
        } else {
            value.Kind = TDescValue::Identifier;
            value.Text = Word("a value");
        }
        return value;
    }

    long long Number() {
        size_t start = FPos;
        if (Peek() == '-')
            FPos++;
        bool hex = FText.substr(FPos, 2) == "0x";
        if (hex)
            FPos += 2;
        size_t digits = FPos;
        while (FPos < FText.size() && std::isxdigit(static_cast<unsigned char>(FText[FPos])) &&
               (hex || std::isdigit(static_cast<unsigned char>(FText[FPos]))))
            FPos++;
        if (FPos == digits || FPos - digits > 15)
            Fail("a malformed number");
        long long value =
            std::stoll(std::string(FText.substr(digits, FPos - digits)), nullptr, hex ? 16 : 10);
        // Every number a description holds fits 32 bits, signed or not (colours).
        if (value > 0xFFFFFFFFLL)
            Fail("a number out of range");
        return FText[start] == '-' ? -value : value;
    }

    std::string Quoted() {
        FPos++;
        std::string text;
        for (;;) {
            if (FPos >= FText.size() || FText[FPos] == '\n')
                Fail("a string is not closed");
            char c = FText[FPos++];
            if (c == '"') {
                if (Peek() != '"')
                    return text;
                FPos++;
            }
            text += c;
        }
    }

    std::string Word(const char* what) {
        SkipSpace();
        size_t start = FPos;
        while (FPos < FText.size() && (std::isalnum(static_cast<unsigned char>(FText[FPos])) ||
                                       FText[FPos] == '_' || FText[FPos] == '.'))
            FPos++;
        if (FPos == start)
            Fail(Format("expected %s", what));
        return std::string(FText.substr(start, FPos - start));
    }

    void Expect(char c) {
        SkipSpace();
        if (!Take(c))
            Fail(Format("expected '%c'", c));
    }

    bool Take(char c) {
        if (Peek() != c)
            return false;
        FPos++;
        return true;
    }

    char Peek() const { return FPos < FText.size() ? FText[FPos] : '\0'; }

    void SkipBlanks() {
        while (Peek() == ' ' || Peek() == '\t' || Peek() == '\r')
            FPos++;
    }

    void SkipSpace() {
        for (;;) {
            SkipBlanks();
            if (Peek() == '#')
                while (FPos < FText.size() && FText[FPos] != '\n')
                    FPos++;
            if (Peek() != '\n')
                return;
            FPos++;
            FLine++;
        }
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw EReadError(Format("Window description, line %d: %s", FLine, what.c_str()));
    }

    std::string_view FText;
    size_t FPos = 0;
    int FLine = 1;
};

} // namespace

TDescNode ParseDescription(std::string_view text) { return TParser(text).Document(); }
