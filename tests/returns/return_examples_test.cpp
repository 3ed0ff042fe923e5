// The example return files are as the bank writes them: records of 240 (400)
// bytes ended by CR LF, trailers that count true, nosso números with their
// check digit, payments that add up; and every field a pre-validation names
// is a field of the remittance record it points at, its error in the bank's
// table. The reconciliation example holds one title the remittance did not
// send and one the return does not answer.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "banking/check_digits.hpp"
#include "returns/return_codes.hpp"
#include "returns/w_field_map.hpp"
#include "support/fake_host.hpp"

namespace verilote::returns {
namespace {

std::vector<std::string> Records(std::string_view name, std::size_t size) {
  const std::string bytes =
      testing::ReadBytes(std::string(VERILOTE_SOURCE_DIR "/examples/retorno/") + std::string(name));
  std::vector<std::string> records;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t end = bytes.find("\r\n", at);
    EXPECT_NE(end, std::string::npos) << name << " ends without CR LF";
    if (end == std::string::npos) break;
    records.push_back(bytes.substr(at, end - at));
    EXPECT_EQ(records.back().size(), size) << name << " record " << records.size();
    at = end + 2;
  }
  return records;
}

std::string At(const std::string& record, std::size_t from, std::size_t to) {
  return record.substr(from - 1, to - from + 1);
}
long long Amount(const std::string& record, std::size_t from, std::size_t to) {
  return std::stoll(At(record, from, to));
}

TEST(ReturnExamples, Sigcb240ReturnAddsUpAndAnswersItsRemittance) {
  const auto ret = Records("retorno_sigcb240.ret", 240), rem = Records("remessa_sigcb240.rem", 240);
  ASSERT_GT(ret.size(), 4u);
  EXPECT_EQ(Amount(ret.back(), 24, 29), static_cast<long long>(ret.size()));
  EXPECT_EQ(Amount(ret[ret.size() - 2], 18, 23), static_cast<long long>(ret.size() - 2));
  std::set<std::string> answered, sent;
  for (std::size_t i = 2; i + 1 < ret.size() - 1; i += 2) {
    const std::string &t = ret[i], &u = ret[i + 1];
    ASSERT_EQ(t[13], 'T');
    ASSERT_EQ(u[13], 'U');
    const std::string movement = At(t, 16, 17);
    EXPECT_FALSE(CodeText(CodeTable::Movimento240, movement).empty()) << movement;
    if (t[41] != ' ') {
      EXPECT_EQ(t[56], Mod11Dv(At(t, 40, 56))) << "nosso numero " << At(t, 40, 57);
      answered.insert(At(t, 40, 56));
    }
    if (const auto table = MotiveTableOf240(movement); table && t[213] != ' ') {
      EXPECT_FALSE(CodeText(*table, At(t, 214, 215)).empty()) << movement << " " << At(t, 214, 223);
    }
    // Paid: nominal value plus interest, less discount and rebate.
    if (movement == "06") {
      EXPECT_EQ(Amount(u, 78, 92), Amount(t, 82, 96) + Amount(u, 18, 32) - Amount(u, 33, 47) - Amount(u, 48, 62));
    }
  }
  for (const std::string& record : rem)
    if (record[13] == 'P') sent.insert(At(record, 41, 57));
  std::set<std::string> onlyAnswered, onlySent;
  for (const std::string& n : answered)
    if (!sent.count(n)) onlyAnswered.insert(n);
  for (const std::string& n : sent)
    if (!answered.count(n)) onlySent.insert(n);
  EXPECT_EQ(onlyAnswered, std::set<std::string>{"14000000000000077"});
  EXPECT_EQ(onlySent, std::set<std::string>{"14000000000000105"});
}

TEST(ReturnExamples, EachWPairNamesAFieldOfTheRecordItPointsAt) {
  const auto pre = Records("precritica_sigcb240.ret", 240), rem = Records("remessa_sigcb240_rejeitada.rem", 240);
  std::size_t pairs = 0;
  for (const std::string& w : pre) {
    if (w[13] != 'W') continue;
    const std::string& target = rem.at(std::stoul(At(w, 18, 23)) - 1);
    // Pairs of a four-character code and a two-digit error, each followed by
    // a blank, until the free text or the blanks that end the record.
    for (std::size_t at = 25; at + 6 <= 157; at += 7) {
      const std::string code = At(w, at, at + 3), error = At(w, at + 4, at + 5);
      if (!std::isdigit(static_cast<unsigned char>(code[0])) || !std::isdigit(static_cast<unsigned char>(error[1])))
        break;
      const WFieldMatch match = ResolveWField240(code, error, target);
      ASSERT_NE(match.field, nullptr) << code;
      EXPECT_EQ(match.field->recordType, target[7]) << code;
      EXPECT_EQ(match.field->segment, target[7] == '3' ? target[13] : ' ') << code;
      EXPECT_FALSE(CodeText(CodeTable::MotivoRejeicao240, error).empty()) << error;
      ++pairs;
    }
  }
  EXPECT_EQ(pairs, 4u);
}

TEST(ReturnExamples, EachCnab400ErrorNamesAFieldOfTheRemittance) {
  const auto pre = Records("precritica_sigcb400.ret", 400), rem = Records("remessa_sigcb400_rejeitada.rem", 400);
  EXPECT_EQ(At(pre.back(), 395, 400), "999999");
  std::size_t errors = 0;
  for (const std::string& detail : pre) {
    if (detail[0] != '1') continue;
    const std::string& target = rem.at(std::stoul(At(detail, 395, 400)) - 1);
    for (const std::string& error : {At(detail, 30, 31), At(detail, 74, 75)}) {
      EXPECT_NE(FindErrorField400(error, target[0]), nullptr) << error;
      EXPECT_FALSE(CodeText(CodeTable::Erro400, error).empty()) << error;
      ++errors;
    }
  }
  EXPECT_EQ(errors, 4u);
  for (const std::string& detail : Records("retorno_sigcb400.ret", 400)) {
    if (detail[0] != '1') continue;
    EXPECT_FALSE(CodeText(CodeTable::Ocorrencia400, At(detail, 109, 110)).empty()) << At(detail, 109, 110);
    if (At(detail, 109, 110) == "99") {
      EXPECT_FALSE(CodeText(CodeTable::Rejeicao400, At(detail, 80, 82)).empty());
    }
  }
}

}  // namespace
}  // namespace verilote::returns
