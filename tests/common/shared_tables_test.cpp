// Tables the plug-in and the tools keep apart on purpose, checked against
// each other: the programme-type names of the first-generation panel and of
// fmr-rds, and the AT commands the second-generation command set sends and
// those the simulated handset accepts.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fmr-rds/programme_types.h"
#include "fmr-sim/gen2/at_commands.h"
#include "gen1_panel/programme_types.h"
#include "gen2/at_reply.h"
#include "gen2/aud_app.h"
#include "gen2/aud_app_fields.h"

namespace {

TEST(SharedTablesTest, ProgrammeTypeNamesAgreeEntryByEntry) {
  const struct {
    const gen1_panel::ProgrammeTypeNames& panel;
    fmrrds::PtyTable tool;
  } tables[] = {{gen1_panel::RdsProgrammeTypes(), fmrrds::PtyTable::kRds},
                {gen1_panel::RbdsProgrammeTypes(), fmrrds::PtyTable::kRbds}};
  for (const auto& table : tables) {
    for (uint8_t code = 0; code < table.panel.size(); ++code) {
      EXPECT_EQ(table.panel[code], fmrrds::ProgrammeTypeName(table.tool, code))
          << "table " << static_cast<int>(table.tool) << ", code " << int{code};
    }
  }
}

// The simulator's name of each of the plug-in's argument types.
fmrsim::AtType SimulatorType(MANAGED_IF::AtType type) {
  using MANAGED_IF::AtType;
  const std::pair<AtType, fmrsim::AtType> names[] = {{AtType::kU8, fmrsim::AtType::kU8},
                                                     {AtType::kU16, fmrsim::AtType::kU16},
                                                     {AtType::kS16, fmrsim::AtType::kS16},
                                                     {AtType::kU32, fmrsim::AtType::kU32},
                                                     {AtType::kS32, fmrsim::AtType::kS32}};
  return std::ranges::find(names, type, &std::pair<AtType, fmrsim::AtType>::first)->second;
}

// `reply` decoded as the command set decodes a reply of `kind`: into the
// record of that kind.
template <typename... Records>
int32_t Decode(MANAGED_IF::AtReplyKind kind, const fmrsim::AtReply& reply) {
  const MANAGED_IF::T_Result result{MANAGED_IF::kResultOk, fmrsim::FramedReply(reply)};
  int32_t code = MANAGED_IF::kResultError;
  const auto decode = [&](auto record) {
    if (kind == MANAGED_IF::kReplyKindOf<decltype(record)>)
      code = DecodeReply(result, record, MANAGED_IF::kReadFields);
  };
  (decode(Records{}), ...);
  return code;
}

// Every command the plug-in sends is one the simulator accepts, with the
// same argument types in the same order; the simulator's reply to each read
// command (radio on) decodes into the command's record.
TEST(SharedTablesTest, EveryCommandThePluginSendsTheSimulatorAcceptsWithItsTypes) {
  const auto accepted = fmrsim::AtCommands::Signatures();
  fmrsim::RadioModel radio;
  fmrsim::AtCommands simulator(radio);
  ASSERT_TRUE(simulator.Execute("at@audapp:fmrx_enable()").ok);
  for (const MANAGED_IF::AtCommandSignature& command : MANAGED_IF::aud_app::Commands()) {
    SCOPED_TRACE(std::string(command.name));
    const std::string_view module = command.name.substr(3, command.name.find(':') - 3);
    const std::string_view name = command.name.substr(command.name.find(':') + 1);
    const auto found = std::ranges::find_if(accepted, [&](const auto& signature) {
      return signature.module == module && signature.name == name;
    });
    ASSERT_NE(found, accepted.end()) << "the simulator does not know the command";
    std::vector<fmrsim::AtType> types;
    for (const MANAGED_IF::AtType type : command.arguments()) types.push_back(SimulatorType(type));
    EXPECT_FALSE(found->variadic);
    EXPECT_EQ(found->types, types) << "argument types differ";
    if (command.reply != MANAGED_IF::AtReplyKind::kStatus) {
      const fmrsim::AtReply reply = simulator.Execute(std::string(command.name) + "()");
      using namespace MANAGED_IF;
      EXPECT_EQ((Decode<T_Version, T_AutoSeekReport, T_RdsReport, T_StaticConfig, T_DynamicData>(
                    command.reply, reply)),
                kResultOk)
          << fmrsim::FramedReply(reply);
    }
  }
}

}  // namespace
