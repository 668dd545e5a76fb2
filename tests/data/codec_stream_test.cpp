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

  // Streamed between a response's head and tail, it reads back as the packet it stands for.
  std::string body;
  json::appendResultHead(body, Variant(7));
  json::PacketStream out(body, p.fields);
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
  json::appendResultTail(body);

  json::RpcResponse whole;
  whole.id = 7;
  whole.result = Variant(p);
  EXPECT_EQ(body, json::encodeResponse(whole));
  auto back = json::decodeResponse(body);
  EXPECT_EQ(back.id, Variant(7));
  EXPECT_EQ(back.result.asPacket(), p);
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
