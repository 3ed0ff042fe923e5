#include "app/command_table.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/shell.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

TEST(CommandTable, HoldsEveryMenuCommandOnce) {
  std::set<std::string_view> handlers;
  int commands = 0, separators = 0;
  for (const MenuRow& row : MenuRows()) {
    if (row.IsSeparator()) {
      ++separators;
      EXPECT_TRUE(row.handler.empty());
      continue;
    }
    ++commands;
    EXPECT_TRUE(row.handler.ends_with("Click")) << row.handler;
    EXPECT_TRUE(handlers.insert(row.handler).second) << "twice: " << row.handler;
  }
  EXPECT_EQ(commands, 89);
  EXPECT_EQ(separators, 15);
}

TEST(CommandTable, EveryBuiltHandlerIsACoreCommandOfTheTable) {
  for (const auto bindings : {AppHandlers(), BankingHandlers(), BarcodeHandlers(), RemittanceHandlers(),
                              LayoutHandlers(), ToolHandlers(), ReturnHandlers()}) {
    for (const HandlerBinding& binding : bindings) {
      const MenuRow* row = FindRow(binding.name);
      ASSERT_NE(row, nullptr) << "not in the menu: " << binding.name;
      EXPECT_EQ(row->scope, Scope::Core) << binding.name;
      EXPECT_EQ(FindHandler(binding.name), binding.handler) << "bound twice: " << binding.name;
    }
  }
  EXPECT_EQ(FindHandler("NoSuchCommand1Click"), nullptr);
}

TEST(Shell, LimparTelaLeavesOnlyTheNoticeLine) {
  for (const int lines : {0, 1, 500}) {
    testing::FakeHost host;
    host.report.assign(lines, "x");
    EXPECT_EQ(RunCommand(FindHandler("LimparTela1Click"), host).status, Outcome::Status::Clean);
    ASSERT_EQ(host.report.size(), 1u);
    EXPECT_EQ(host.report[0],
              "****  Este aplicativo n\xE3o pode ser utilizado como \xFAnica forma de valida\xE7\xE3o ****");
  }
}

}  // namespace
}  // namespace verilote
