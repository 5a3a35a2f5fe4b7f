// The named controls and the window design agree, or the program stops at
// start-up.
#include "model/control_names.h"
#include "model/window_design.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace quilo;

TEST(ControlNames, EveryNamedControlIsInTheDesign) {
  const Form form1(form1_design()), form2(form2_design()), form3(form3_design()), form4(form4_design());
  EXPECT_NO_THROW(check_control_names(form1, form2, form3, form4));

  // A design without a named control, or with an array member the names do
  // not know, is caught at start-up.
  FormDesign without = form1_design();
  std::erase_if(without.controls, [](const ControlDesign& c) { return c.key() == "Combo14"; });
  EXPECT_THROW(check_control_names(Form(without), form2, form3, form4), std::logic_error);
  FormDesign history_without = form4_design();
  std::erase_if(history_without.controls, [](const ControlDesign& c) { return c.key() == "Grid1"; });
  EXPECT_THROW(check_control_names(form1, form2, form3, Form(history_without)), std::logic_error);
  FormDesign extra = form1_design();
  ControlDesign member = extra.controls.back();
  member.name = "Label5";
  member.index = 8;
  extra.controls.push_back(member);
  EXPECT_THROW(check_control_names(Form(extra), form2, form3, form4), std::logic_error);

  EXPECT_EQ(form1::Label1.key(37), "Label1(37)");
  EXPECT_THROW(form1::Label5.key(5), std::logic_error);
}
