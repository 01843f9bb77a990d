#include <gtest/gtest.h>

#include "TestSupport.h"
#include "framework/DescReader.h"
#include "framework/Description.h"
#include "framework/Exceptions.h"

static std::string ReadError(std::string_view text) {
    try {
        ParseDescription(text);
    } catch (const EReadError& error) {
        return error.Message;
    }
    return "";
}

TEST(Description, ReadsNodesPropertiesAndValuesInOrder) {
    TDescNode root = ParseDescription(R"(# comment
TForm9 Form9 {
  Caption = "say ""hi"""   # trailing comment
  Bounds = 1 -2 0x10 40
  Icons = [biA, biB]
  Empty = []
  Picture = @SIDE
  Align = alTop
  TKid Kid1 {
    Tag = 7
  }
  TKid Kid2 { }
}
)");
    EXPECT_EQ(root.ClassName, "TForm9");
    EXPECT_EQ(root.Name, "Form9");
    ASSERT_EQ(root.Properties.size(), 6u);
    EXPECT_EQ(root.Properties[0].Values[0].Text, "say \"hi\"");
    ASSERT_EQ(root.Properties[1].Values.size(), 4u);
    EXPECT_EQ(root.Properties[1].Values[1].Integer, -2);
    EXPECT_EQ(root.Properties[1].Values[2].Integer, 16);
    EXPECT_EQ(root.Properties[2].Values[0].Items, (std::vector<std::string>{"biA", "biB"}));
    EXPECT_TRUE(root.Properties[3].Values[0].Items.empty());
    EXPECT_EQ(root.Properties[4].Values[0].Kind, TDescValue::Resource);
    EXPECT_EQ(root.Properties[4].Values[0].Text, "SIDE");
    EXPECT_EQ(root.Properties[5].Values[0].Kind, TDescValue::Identifier);
    EXPECT_EQ(root.Properties[5].Line, 8);
    ASSERT_EQ(root.Children.size(), 2u);
    EXPECT_EQ(root.Children[0].Name, "Kid1");
    EXPECT_EQ(root.Children[0].Properties[0].Values[0].Integer, 7);
    EXPECT_EQ(root.Children[1].Line, 12);
}

TEST(Description, MalformedTextNamesTheLineAndTheFault) {
    EXPECT_EQ(ReadError("TForm1 Form1 {\n  Caption = \"open\n}"),
              "Window description, line 2: a string is not closed");
    EXPECT_EQ(ReadError("TForm1 Form1 {\n  Left =\n}"),
              "Window description, line 2: a value is missing after =");
    EXPECT_EQ(ReadError("TForm1 Form1 {\n  Left = 1\n"),
              "Window description, line 3: missing } for Form1");
    EXPECT_EQ(ReadError("TForm1 {"), "Window description, line 1: expected a component name");
    EXPECT_EQ(ReadError("TForm1 Form1 { } }"),
              "Window description, line 1: text after the end of the description");
    EXPECT_EQ(ReadError("TForm1 Form1 {\n Set = [a b]\n}"),
              "Window description, line 2: expected ']'");
    EXPECT_EQ(ReadError("TForm1 Form1 {\n Left = -\n}"),
              "Window description, line 2: a malformed number");
    EXPECT_EQ(ReadError(""), "Window description, line 1: expected a class name");
    EXPECT_EQ(ReadError("TForm1 Form1 {\n Color = 0xFFFFFFFF\n Left = -4294967295\n}"), "");
    // Once found by fuzzing: a number too long to be written back in decimal.
    EXPECT_EQ(ReadError("TForm1 Form1 {\n Tag = 0x8222222222213\n}"),
              "Window description, line 2: a number out of range");
    EXPECT_EQ(ReadError("TForm1 Form1 {\n Tag = 4294967296\n}"),
              "Window description, line 2: a number out of range");
}

TEST(Description, NestingIsBoundedSoThatDeepTextCannotExhaustTheStack) {
    auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; i++)
            text += "TKid Kid {\n";
        return text + std::string(depth, '}');
    };
    EXPECT_EQ(ReadError(nested(100)), "");
    EXPECT_EQ(ReadError(nested(101)),
              "Window description, line 101: components nested more than 100 deep");
    // Once found by fuzzing: 100,000 levels overflowed the stack.
    EXPECT_EQ(ReadError(nested(100000)),
              "Window description, line 101: components nested more than 100 deep");
}

class DescriptionReader : public TApplicationTest {};

namespace {

// A control added as the README says: derived from a framework control, with a registration
// function that makes it known together with the property a description may set.
class TGauge : public TGraphicControl {
  public:
    using TGraphicControl::TGraphicControl;
    const char* ClassName() const override { return "TGauge"; }
    int Level = 0;
};

void RegisterGauge() {
    RegisterOnce([] {
        RegisterComponentClass<TGauge>("TGauge", "TGraphicControl")
            .Property<TGauge>("Level", [](TGauge& c, const TDescProperty& p, TDescReader& r) {
                c.Level = r.Integer(p);
            });
    });
}

} // namespace

TEST_F(DescriptionReader, BuildsAControlAddedAsTheReadmeSays) {
    RegisterGauge();
    TForm form(nullptr);
    TDescReader(form).Read(
        ParseDescription("TForm Form9 {\n  TGauge Gauge1 {\n    Bounds = 1 2 30 40\n    Level = 7\n"
                         "  }\n}"));
    auto* gauge = dynamic_cast<TGauge*>(form.FindComponent("Gauge1"));
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->Parent(), &form);
    EXPECT_EQ(gauge->Width(), 30);
    EXPECT_EQ(gauge->Level, 7);
    // A class registered without a way to make one is told apart from one never registered.
    RegisterClassInfo("TGaugeBase", "TGraphicControl");
    TForm other(nullptr);
    try {
        TDescReader(other).Read(ParseDescription("TForm Form9 {\n  TGaugeBase Gauge1 { }\n}"));
        ADD_FAILURE() << "a control without a way to make it was made";
    } catch (const EReadError& error) {
        EXPECT_EQ(error.Message, "Window description, line 2: class TGaugeBase is registered "
                                 "without a way to make one");
    }
}

TEST_F(DescriptionReader, BuildsTheComponentsWithTheirPropertiesAndParents) {
    auto* form = Add<TTestForm>();
    EXPECT_EQ(form->Name(), "TestForm");
    EXPECT_EQ(form->Caption(), "Pr\xF3"
                               "ba");
    EXPECT_EQ(form->BorderStyle(), bsSingle);
    EXPECT_EQ(form->BorderIcons(), unsigned(biSystemMenu | biMinimize));
    EXPECT_EQ(form->ClientWidth(), 200);
    EXPECT_EQ(form->ClientHeight(), 120);
    ASSERT_EQ(form->Components().size(), 5u);
    TProbeControl* right = form->Probe("Right1");
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(right->Parent(), form);
    EXPECT_EQ(right->Left(), 100);
    EXPECT_EQ(right->Font().Name(), "Tahoma");
    EXPECT_EQ(right->Font().Charset(), EASTEUROPE_CHARSET);
    EXPECT_EQ(right->Font().Color(), clWhite);
    EXPECT_EQ(right->Font().Style(), unsigned(fsBold));
    EXPECT_FALSE(right->ParentFont());
    TProbeControl* inner = form->Probe("Inner1");
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->Parent(), form->FindComponent("Panel1"));
    EXPECT_EQ(inner->Owner(), form);
    EXPECT_TRUE(inner->ParentFont());
    EXPECT_EQ(inner->Font().Name(), "MS Sans Serif");
    form->Probe("Left1")->Click();
    EXPECT_EQ(form->Clicks, 1);
}

TEST_F(DescriptionReader, BadDescriptionsFailTheConstructionNamingTheFault) {
    struct {
        const char* Resource;
        const char* Message;
    } cases[] = {
        {"BADCLASS", "Window description, line 2: class TNoSuchClass not found"},
        {"BADPROPERTY",
         "Error reading Left1.Colour (line 3): TProbeControl has no property Colour"},
        {"BADHANDLER",
         "Error reading Left1.OnClick (line 3): TTestForm has no handler NoSuchHandler"},
        {"BADTEXT", "Window description, line 2: a string is not closed"},
        {"BADVALUE", "Error reading Bad.BorderStyle (line 2): bsRound is not a valid value"},
        {"NOSUCHRESOURCE", "Resource NOSUCHRESOURCE not found"},
    };
    for (auto& bad : cases) {
        SCOPED_TRACE(bad.Resource);
        TTestForm::NextDescription = bad.Resource;
        TTestForm* form = nullptr;
        try {
            App->AddForm(form);
            ADD_FAILURE() << "construction succeeded";
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message, bad.Message);
        }
        EXPECT_EQ(form, nullptr);
        EXPECT_EQ(App->MainForm(), nullptr);
        EXPECT_TRUE(App->Components().empty());
    }
}

TEST_F(DescriptionReader, AScreenWithAnotherTextHeightScalesTheWindow) {
    // The description was made where the window font was 26 pixels high; here it is 13.
    auto* form = Add<TTestForm>("SCALEDFORM");
    EXPECT_EQ(form->ClientWidth(), 200);
    EXPECT_EQ(form->ClientHeight(), 120);
    TProbeControl* probe = form->Probe("Left1");
    EXPECT_EQ(probe->Left(), 10);
    EXPECT_EQ(probe->Top(), 20);
    EXPECT_EQ(probe->Width(), 50);
    EXPECT_EQ(probe->Height(), 30);
    EXPECT_EQ(probe->Font().Height(), -11);
}

TEST_F(DescriptionReader, TheWindowFontHasTheTextHeightTheLayoutsAssume) {
    auto* form = Add<TTestForm>();
    EXPECT_EQ(FontLineHeight(form->Font()), 13);
    EXPECT_EQ(form->Probe("Left1")->Width(), 50) << "no scaling on this screen";
}
