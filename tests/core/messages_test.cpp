// The messages of the calculation commands: each identity's type and its English and Japanese
// texts as the user reads them, and the default sink's line on standard error.
#include <gtest/gtest.h>

#include <string>

#include "mirelto/design/messages.h"
#include "test_support.h"

namespace mirelto {
namespace {

using test::PrintTo;  // found by the printer through this namespace

struct MessageCase {
    std::string name;
    MessageId id;
    MessageType type;
    std::string english;
    std::string japanese;
};

class MessageTextTest : public testing::TestWithParam<MessageCase> {};

// A message identity; look it up; its type and both texts.
TEST_P(MessageTextTest, TypeAndTexts) {
    const MessageCase& c = GetParam();
    const MessageText& text = TextOf(c.id);
    EXPECT_EQ(text.id, c.id);
    EXPECT_EQ(text.type, c.type);
    EXPECT_EQ(text.english, c.english);
    EXPECT_EQ(text.japanese, c.japanese);
}

// The English text in the default sink's words; show it; one line per text line on standard
// error, after the type.
TEST_P(MessageTextTest, DefaultSinkWritesEnglish) {
    const MessageCase& c = GetParam();
    const MessageSink previous = SetMessageSink({});
    testing::internal::CaptureStderr();
    ShowMessage(c.id);
    const std::string err = testing::internal::GetCapturedStderr();
    SetMessageSink(previous);
    EXPECT_EQ(err, (c.type == MessageType::Error ? "Error: " : "Warning: ") + c.english + "\n");
}

// clang-format off
const MessageCase kMessages[] = {
    {"FaMissing", MessageId::FaMissing, MessageType::Warning, "Please enter a value for fa", "faに値を入力してください"},
    {"FoMissing", MessageId::FoMissing, MessageType::Warning, "Please enter a value for fo", "foに値を入力してください"},
    {"QMissing", MessageId::QMissing, MessageType::Warning, "Please enter a value for Q", "Qに値を入力してください"},
    {"RequestNotPositive", MessageId::RequestNotPositive, MessageType::Error, "Transfer-function parameters of zero or less are invalid", "ゼロ以下の伝達関数パラメータは不正です"},
    {"R1Missing", MessageId::R1Missing, MessageType::Warning, "Please enter a value for R1", "R1に値を入力してください"},
    {"C1Missing", MessageId::C1Missing, MessageType::Warning, "Please enter a value for C1", "C1に値を入力してください"},
    {"PartsMissing", MessageId::PartsMissing, MessageType::Warning, "Please enter values for R1, R2, R3, C1, C2, C3", "R1,R2,R3,C1,C2,C3 に値をセットしてください"},
    {"PartsNotPositive", MessageId::PartsNotPositive, MessageType::Error, "Part values of zero or less are invalid", "ゼロ以下の部品定数は不正です"},
    {"UnrealisableLpf", MessageId::UnrealisableLpf, MessageType::Error, "This request cannot be realised (C < 0).\r\n\r\nWiden the ratios with R1 < R2 <= R3 to realise it.", "この条件では実現できません(C < 0)\r\n\r\nR1<R2<=R3 で比を大きくすると実現できます"},
    {"UnrealisableHpf", MessageId::UnrealisableHpf, MessageType::Error, "This request cannot be realised (R < 0).\r\n\r\nWiden the ratios with C1 > C2 >= C3 to realise it.", "この条件では実現できません(R < 0)\r\n\r\nC1>C2>=C3 で比を大きくすると実現できます"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Calculation, MessageTextTest, testing::ValuesIn(kMessages),
                         test::CaseName<MessageCase>);

// The table; every row; one row per identity, and no English text holds a character beyond ASCII.
TEST(MessageTable, EveryIdentityOnceWithAsciiEnglish) {
    ASSERT_EQ(AllMessages().size(), std::size(kMessages));
    for (std::size_t i = 0; i < AllMessages().size(); ++i) {
        const MessageText& row = AllMessages()[i];
        EXPECT_EQ(static_cast<std::size_t>(row.id), i);
        for (const char c : row.english) {
            EXPECT_LT(static_cast<unsigned char>(c), 0x80) << row.english;
        }
    }
}

}  // namespace
}  // namespace mirelto
