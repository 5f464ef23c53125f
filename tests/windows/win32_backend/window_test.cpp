// The form window: where its controls land, closing and showing it again,
// a host without an MDI frame, and an image of it.
#include <vector>

#include "backend_fixture.h"
#include "screenshot.h"

namespace testing_windows {
namespace {

RECT ScreenRect(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return r;
}

// The native windows as placed: siblings in one container never overlap,
// and every control lies inside its container.
TEST_F(BackendTest, ControlsLieApartInsideTheirContainers) {
  for (const auto& component : form->components()) {
    auto* container = dynamic_cast<ui::Control*>(component.get());
    if (container == nullptr || container->children().empty()) continue;
    // The form's controls lie in the container that fills its client area.
    const RECT outer =
        ScreenRect(container == form ? ::GetWindow(Native(*form), GW_CHILD) : Native(*container));
    std::vector<std::pair<const ui::Control*, RECT>> placed;
    for (const ui::Control* child : container->children()) {
      if (child->kind() == ui::Kind::kTabSheet) continue;  // they share the page
      const RECT r = ScreenRect(Native(*child));
      EXPECT_TRUE(r.left >= outer.left && r.top >= outer.top && r.right <= outer.right &&
                  r.bottom <= outer.bottom)
          << child->name() << " sticks out of " << container->name();
      for (const auto& [other, other_rect] : placed) {
        RECT overlap{};
        EXPECT_FALSE(::IntersectRect(&overlap, &r, &other_rect))
            << child->name() << " overlaps " << other->name();
      }
      placed.emplace_back(child, r);
    }
  }
}

TEST_F(BackendTest, ClosingTheWindowRunsOnCloseAndShowRebuildsIt) {
  ::SendMessageA(Native(*form), WM_CLOSE, 0, 0);
  EXPECT_EQ(form->events, "close ");
  EXPECT_EQ(Native(*form), nullptr);
  form->Show();
  ASSERT_NE(Native(*form), nullptr);
  EXPECT_EQ(Text(Native(*form->tune)), "Tune");

  app.DestroyForm(form);
  form = nullptr;
  EXPECT_EQ(::GetWindow(frame.mdi_client(), GW_CHILD), nullptr);
}

TEST_F(BackendTest, Screenshot) {
  if (g_screenshot_path.empty()) GTEST_SKIP() << "no --screenshot=FILE";
  std::string error;
  EXPECT_TRUE(benchora::SaveWindowImage(frame.window(), g_screenshot_path, error)) << error;
}

TEST(Win32Backend, WithoutAnMdiFrameTheFormIsATopLevelWindow) {
  ui::Win32Services services;
  services.set_automated(true);
  ui::Application app(services);
  ui::Form& lone = app.Adopt(std::make_unique<ui::Form>(app, "TLone"));
  lone.SetCaption("Lone form");
  lone.Add<ui::Button>("btnLone", &lone, "Lone");
  lone.Show();
  HWND window = static_cast<HWND>(services.NativeHandle(lone));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(::GetParent(window), nullptr);
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_EQ(::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_MDICHILD, 0);
  app.DestroyForm(&lone);
  EXPECT_FALSE(::IsWindow(window));
}

}  // namespace
}  // namespace testing_windows
