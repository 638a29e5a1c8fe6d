// The component model: ownership, destruction order, names, notifications, state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/ClassBuilder.h"
#include "framework/Classes.h"

namespace {

std::vector<std::wstring>* gLog = nullptr;

class TLogged : public TComponent {
  FRAMEWORK_CLASS(TLogged, TComponent)

 public:
  explicit TLogged(TComponent* owner, const wchar_t* name = L"") : TComponent(owner) { SetName(name); }
  ~TLogged() override {
    if (gLog) gLog->push_back(L"free " + Name());
  }
  std::vector<std::pair<TComponent*, TOperation>> heard;
  TComponent* reference = nullptr;
  int loadedCount = 0;
  bool loadingDuringLoaded = false;

  void Loaded() override {
    loadingDuringLoaded = Loading();
    TComponent::Loaded();
    ++loadedCount;
  }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    heard.emplace_back(component, operation);
    if (operation == TOperation::opRemove && component == reference) reference = nullptr;
  }
};

const TClassInfo& TLogged::StaticClass() {
  static const TClassInfo info = TClassBuilder<TLogged>("TLogged", &Inherited::StaticClass()).Build();
  return info;
}

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override { gLog = &log; }
  void TearDown() override { gLog = nullptr; }
  std::vector<std::wstring> log;
};

TEST_F(ComponentTest, OwnerFreesOwnedInReverseCreationOrder) {
  auto* owner = new TLogged(nullptr, L"Owner");
  new TLogged(owner, L"A");
  auto* b = new TLogged(owner, L"B");
  new TLogged(b, L"B1");
  new TLogged(owner, L"C");
  ASSERT_EQ(owner->ComponentCount(), 3);
  delete owner;
  // A destructor body runs before its base frees what the object owns, so "free B" (B's
  // own destructor) comes before its owned B1.
  EXPECT_EQ(log, (std::vector<std::wstring>{L"free Owner", L"free C", L"free B", L"free B1", L"free A"}));
}

TEST_F(ComponentTest, FreeingAnOwnedComponentRemovesItAndNotifiesTheOwnerTree) {
  TLogged owner(nullptr, L"Owner");
  auto* a = new TLogged(&owner, L"A");
  auto* b = new TLogged(&owner, L"B");
  b->reference = a;
  delete a;
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), b);
  EXPECT_EQ(b->reference, nullptr) << "a sibling hears of the removal through the owner";
  ASSERT_FALSE(owner.heard.empty());
  EXPECT_EQ(owner.heard.back(), std::make_pair(static_cast<TComponent*>(a), TOperation::opRemove));
}

TEST_F(ComponentTest, OwnerHearsInsertion) {
  TLogged owner(nullptr, L"Owner");
  auto* a = new TLogged(&owner, L"A");
  ASSERT_EQ(owner.heard.size(), 1u);
  EXPECT_EQ(owner.heard[0], std::make_pair(static_cast<TComponent*>(a), TOperation::opInsert));
}

TEST_F(ComponentTest, FreeNotificationReachesComponentsOfOtherOwners) {
  TLogged ownerA(nullptr, L"OwnerA");
  TLogged ownerB(nullptr, L"OwnerB");
  auto* menu = new TLogged(&ownerA, L"Menu");
  auto* user = new TLogged(&ownerB, L"User");
  user->reference = menu;
  menu->FreeNotification(user);
  delete menu;
  EXPECT_EQ(user->reference, nullptr);
}

TEST_F(ComponentTest, FreeNotificationIsDroppedWhenTheListenerGoesFirst) {
  auto* menu = new TLogged(nullptr, L"Menu");
  auto* user = new TLogged(nullptr, L"User");
  menu->FreeNotification(user);
  delete user;
  delete menu;  // must not call into the freed listener
  SUCCEED();
}

TEST_F(ComponentTest, NamesAreIdentifiersAndUniqueAmongSiblings) {
  TLogged owner(nullptr, L"Owner");
  auto* a = new TLogged(&owner, L"Button1");
  auto* b = new TLogged(&owner, L"");
  EXPECT_THROW(b->SetName(L"button1"), Exception) << "names compare without case";
  EXPECT_THROW(b->SetName(L"1abc"), Exception);
  EXPECT_THROW(b->SetName(L"a b"), Exception);
  EXPECT_THROW(b->SetName(L"名字"), Exception);
  b->SetName(L"_Label2");
  EXPECT_EQ(owner.FindComponent(L"BUTTON1"), a);
  EXPECT_EQ(owner.FindComponent(L"_label2"), b);
  EXPECT_EQ(owner.FindComponent(L"Nothing"), nullptr);
  EXPECT_EQ(owner.FindComponent(L""), nullptr);
  EXPECT_EQ(owner.Find<TLogged>(L"Button1"), a);
}

TEST_F(ComponentTest, StateFlags) {
  TLogged c(nullptr, L"C");
  EXPECT_FALSE(c.Loading());
  EXPECT_FALSE(c.Designing());
  c.SetLoading(true);
  EXPECT_TRUE(c.ComponentState().Contains(csLoading));
  EXPECT_TRUE(c.ComponentState().Contains(csReading));
  c.SetLoading(false);
  EXPECT_TRUE(c.Loading()) << "loading lasts until Loaded";
  c.Loaded();
  EXPECT_FALSE(c.Loading());
  EXPECT_TRUE(c.loadingDuringLoaded);
  EXPECT_FALSE(c.ComponentState().Contains(csDesigning));
}

TEST_F(ComponentTest, DestroyingStateIsSetForOwnedComponentsBeforeAnyIsFreed) {
  struct TProbe : TLogged {
    using TLogged::TLogged;
    ~TProbe() override { sawDestroying = DestroyingState(); }
    bool* out = nullptr;
    bool sawDestroying = false;
  };
  auto* owner = new TLogged(nullptr, L"Owner");
  auto* first = new TProbe(owner, L"First");
  bool flagOfFirstWhenSecondDies = false;
  struct TSecond : TLogged {
    TSecond(TComponent* o, TComponent* other, bool* out) : TLogged(o, L"Second"), other_(other), out_(out) {}
    ~TSecond() override { *out_ = static_cast<TLogged*>(other_)->DestroyingState(); }
    TComponent* other_;
    bool* out_;
  };
  new TSecond(owner, first, &flagOfFirstWhenSecondDies);
  delete owner;
  EXPECT_TRUE(flagOfFirstWhenSecondDies);
}

TEST_F(ComponentTest, InsertMovesBetweenOwners) {
  TLogged a(nullptr, L"A");
  TLogged b(nullptr, L"B");
  auto* c = new TLogged(&a, L"C");
  b.InsertComponent(c);
  EXPECT_EQ(a.ComponentCount(), 0);
  EXPECT_EQ(b.ComponentCount(), 1);
  EXPECT_EQ(c->Owner(), &b);
  EXPECT_EQ(c->ComponentIndex(), 0);
}

TEST_F(ComponentTest, InsertRejectsADuplicateName) {
  TLogged a(nullptr, L"A");
  TLogged b(nullptr, L"B");
  new TLogged(&a, L"Same");
  auto* other = new TLogged(&b, L"Same");
  EXPECT_THROW(a.InsertComponent(other), Exception);
  EXPECT_EQ(other->Owner(), &b);
}

}  // namespace
