// The streaming packet writer must produce exactly what the packet writer produces, and a
// packet taken from a sole owner must arrive whole.
#include <gtest/gtest.h>

#include "data/codec.h"
#include "data/errors.h"

namespace qbk::data {
namespace {

Packet sample() {
  Packet p;
  p.fields = {{"CDBANCO", FieldType::String, 3},
              {"NMBANCO", FieldType::String, 30},
              {"QTDIAPRORCNT", FieldType::Float, 0}};
  p.rows = {{std::string("104"), std::string("CAIXA ECONÔMICA \"FEDERAL\""), 2.5},
            {std::string("237"), Value{}, Value{}}};
  return p;
}

TEST(CodecStream, streamedPacketMatchesThePacketWriterAndReadsBack) {
  const Packet p = sample();
  std::string expected;
  json::appendPacket(expected, p);

  EncodedJson streamed;
  json::PacketStream out(streamed.text, p.fields);
  out.beginRow();
  out.text("104");
  out.text("CAIXA ECONÔMICA \"FEDERAL\"");
  out.number(2.5);
  out.endRow();
  out.beginRow();
  out.text("237");
  out.null();
  out.null();
  out.endRow();
  out.finish();
  EXPECT_EQ(streamed.text, expected);

  // Inside a response it travels unchanged and decodes as the packet it stands for.
  json::RpcResponse response;
  response.id = 7;
  response.result = Variant(VariantArray{Variant("S"), Variant(streamed)});
  std::string body = json::encodeResponse(response);
  auto back = json::decodeResponse(body);
  EXPECT_EQ(back.result.asArray()[1].asPacket(), p);
}

TEST(CodecStream, aStreamLeftUnfinishedRemovesWhatItWrote) {
  std::string out = "prefix";
  {
    json::PacketStream s(out, sample().fields);
    s.beginRow();
    EXPECT_THROW(s.text("\xC3\x28"), DataError);  // malformed UTF-8
  }
  EXPECT_EQ(out, "prefix");
  {
    json::PacketStream s(out, sample().fields);
    s.beginRow();
    s.text("001");
    EXPECT_THROW(s.endRow(), DataError);  // a row short of cells
  }
  EXPECT_EQ(out, "prefix");
}

TEST(CodecStream, takePacketMovesFromASoleOwnerAndCopiesASharedOne) {
  Variant sole(sample());
  EXPECT_EQ(std::move(sole).takePacket(), sample());

  Variant shared(sample());
  Variant other = shared;
  EXPECT_EQ(std::move(shared).takePacket(), sample());
  EXPECT_EQ(other.asPacket(), sample());  // the other owner still sees every row
}

}  // namespace
}  // namespace qbk::data
