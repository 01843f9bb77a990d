#include <gtest/gtest.h>

#include "framework/Component.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> Log;

class TLogged : public TComponent {
  public:
    TLogged(TComponent* owner, std::string name) : TComponent(owner) { SetName(name); }
    ~TLogged() override { Log.push_back("free " + Name()); }
    TComponent* Partner = nullptr;

  protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove && component == Partner) {
            Log.push_back(Name() + " lost " + component->Name());
            Partner = nullptr;
        }
    }
};

} // namespace

TEST(Component, OwnerFreesWhatItOwnsNewestFirst) {
    Log.clear();
    int before = TObject::LiveObjects();
    auto* owner = new TLogged(nullptr, "owner");
    new TLogged(owner, "a");
    auto* b = new TLogged(owner, "b");
    new TLogged(b, "b1");
    new TLogged(owner, "c");
    EXPECT_EQ(owner->Components().size(), 3u);
    EXPECT_EQ(owner->FindComponent("b"), b);
    EXPECT_EQ(owner->FindComponent("b1"), nullptr);
    delete owner;
    EXPECT_EQ(Log,
              (std::vector<std::string>{"free owner", "free c", "free b", "free b1", "free a"}));
    EXPECT_EQ(TObject::LiveObjects(), before);
}

TEST(Component, FreeingAnOwnedComponentTakesItOffTheOwnersList) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    new TComponent(&owner);
    delete a;
    ASSERT_EQ(owner.Components().size(), 1u);
    EXPECT_NE(owner.Components()[0], a);
}

TEST(Component, RemovalNotificationReachesLinkedComponentsEitherWay) {
    Log.clear();
    auto* list = new TLogged(nullptr, "list");
    auto* selector = new TLogged(nullptr, "selector");
    selector->Partner = list;
    list->Partner = selector;
    selector->FreeNotification(list);
    delete list;
    EXPECT_EQ(selector->Partner, nullptr);
    delete selector;
    EXPECT_EQ(Log, (std::vector<std::string>{"free list", "selector lost list", "free selector"}));
}

TEST(Component, SiblingsHearOfARemovalThroughTheirOwner) {
    Log.clear();
    TComponent form(nullptr);
    auto* list = new TLogged(&form, "list");
    auto* selector = new TLogged(&form, "selector");
    selector->Partner = list;
    delete list;
    EXPECT_EQ(selector->Partner, nullptr);
    EXPECT_EQ(Log, (std::vector<std::string>{"free list", "selector lost list"}));
}

TEST(Component, RemovedFreeNotificationIsNotSent) {
    Log.clear();
    auto* a = new TLogged(nullptr, "a");
    auto* b = new TLogged(nullptr, "b");
    b->Partner = a;
    b->FreeNotification(a);
    b->RemoveFreeNotification(a);
    delete a;
    EXPECT_EQ(b->Partner, a);
    delete b;
}
