#include "framework/Classes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vx {
namespace {

// A stream that hands out at most `chunk` bytes per read, like a pipe or a slow file.
class TChunkStream : public TMemoryStream {
public:
    explicit TChunkStream(std::int32_t chunk) : chunk_(chunk) {}
    std::int32_t Read(void* buffer, std::int32_t count) override {
        return TMemoryStream::Read(buffer, count < chunk_ ? count : chunk_);
    }

private:
    std::int32_t chunk_;
};

TEST(MemoryStream, ReadWriteSeekAndSize) {
    TMemoryStream m;
    EXPECT_EQ(m.Write("abcdef", 6), 6);
    EXPECT_EQ(m.GetPosition(), 6);
    EXPECT_EQ(m.GetSize(), 6);
    m.SetPosition(2);
    char buf[8] = {};
    EXPECT_EQ(m.Read(buf, 8), 4);  // short read at the end
    EXPECT_EQ(std::string(buf, 4), "cdef");
    EXPECT_EQ(m.Read(buf, 8), 0);
    // Writing past the end fills the gap with zeros.
    m.Seek(2, soEnd);
    m.Write("X", 1);
    ASSERT_EQ(m.GetSize(), 9);
    EXPECT_EQ(m.GetMemory()[6], 0);
    EXPECT_EQ(m.GetMemory()[8], 'X');
    // Shrinking pulls the position back to the new end.
    m.SetSize(3);
    EXPECT_EQ(m.GetPosition(), 3);
    EXPECT_THROW(m.Seek(-4, soCurrent), EStreamError);
    m.Clear();
    EXPECT_EQ(m.GetSize(), 0);
    EXPECT_EQ(m.GetPosition(), 0);
}

TEST(MemoryStream, ReadBufferThrowsOnShortReadAndCopyFromLoops) {
    TMemoryStream m;
    m.Write("hello", 5);
    m.SetPosition(0);
    char buf[8];
    EXPECT_THROW(m.ReadBuffer(buf, 6), EReadError);

    // CopyFrom must loop over partial reads; count 0 copies the whole source.
    TChunkStream source(3);
    std::vector<std::uint8_t> data(100000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
    source.WriteBuffer(data.data(), static_cast<std::int32_t>(data.size()));
    source.SetPosition(50);  // ignored with count 0
    TMemoryStream dest;
    EXPECT_EQ(dest.CopyFrom(source, 0), 100000);
    ASSERT_EQ(dest.GetSize(), 100000);
    EXPECT_EQ(std::memcmp(dest.GetMemory(), data.data(), data.size()), 0);

    source.SetPosition(99990);
    TMemoryStream tail;
    EXPECT_EQ(tail.CopyFrom(source, 10), 10);
    EXPECT_EQ(tail.GetMemory()[0], data[99990]);
    EXPECT_THROW(tail.CopyFrom(source, 1), EReadError);  // source exhausted

    TMemoryStream loaded;
    loaded.LoadFromStream(source);
    EXPECT_EQ(loaded.GetSize(), 100000);
    EXPECT_EQ(loaded.GetPosition(), 0);
    TMemoryStream saved;
    saved.Write("Z", 1);
    loaded.SaveToStream(saved);
    EXPECT_EQ(saved.GetSize(), 100001);
}

TEST(StringList, AddInsertDeleteMoveExchangeKeepObjects) {
    TStringList l;
    TStringList marker;
    EXPECT_EQ(l.Add(L"b"), 0);
    EXPECT_EQ(l.AddObject(L"c", &marker), 1);
    l.Insert(0, L"a");
    EXPECT_EQ(l.AddData(L"b", 42), 3);  // duplicates kept, unsorted
    ASSERT_EQ(l.GetCount(), 4);
    EXPECT_EQ(l.GetText(), L"a\r\nb\r\nc\r\nb\r\n");
    EXPECT_EQ(l.GetObject(2), &marker);
    EXPECT_EQ(l.GetData(3), 42);
    l.Move(2, 0);  // c a b b
    EXPECT_EQ(l[0], L"c");
    EXPECT_EQ(l.GetObject(0), &marker);
    EXPECT_EQ(l[1], L"a");
    l.Exchange(0, 3);  // b a b c
    EXPECT_EQ(l.GetData(0), 42);
    EXPECT_EQ(l.GetObject(3), &marker);
    l.Delete(1);
    EXPECT_EQ(l.GetCommaText(), L"b,b,c");
    EXPECT_THROW(l.Get(3), EStringListError);
    EXPECT_THROW(l.Insert(5, L"x"), EStringListError);
    EXPECT_THROW(l.Delete(-1), EStringListError);
    l.Clear();
    EXPECT_EQ(l.GetCount(), 0);
}

TEST(StringList, TextSplitsAtCrLfCrAndLf) {
    TStringList l;
    l.SetText(L"one\r\ntwo\rthree\nfour\n\r\nsix");
    ASSERT_EQ(l.GetCount(), 6);
    EXPECT_EQ(l[2], L"three");
    EXPECT_EQ(l[3], L"four");
    EXPECT_EQ(l[4], L"");
    EXPECT_EQ(l[5], L"six");
    l.SetText(L"a\r\n");
    EXPECT_EQ(l.GetCount(), 1);  // a final break adds no empty item
    l.SetText(L"a\r\n\r\n");
    EXPECT_EQ(l.GetCount(), 2);
    l.SetText(L"");
    EXPECT_EQ(l.GetCount(), 0);
    l.SetText(L"\n\n");
    EXPECT_EQ(l.GetCount(), 2);
}

TEST(StringList, IndexOfFollowsTheCaseSwitch) {
    TStringList l;
    l.SetText(L"Video\nAUDIO\n视频\naudio");
    EXPECT_EQ(l.IndexOf(L"audio"), 1);  // default: ASCII case-insensitive, first match
    EXPECT_EQ(l.IndexOf(L"视频"), 2);
    EXPECT_EQ(l.IndexOf(L"none"), -1);
    l.SetCaseSensitive(true);
    EXPECT_EQ(l.IndexOf(L"audio"), 3);
    EXPECT_EQ(l.IndexOf(L"video"), -1);
}

TEST(StringList, NamesAndValues) {
    TStringList l;
    l.Add(L"Width=640");
    l.Add(L"novalue");
    l.Add(L"Title=a=b");
    EXPECT_EQ(l.GetName(0), L"Width");
    EXPECT_EQ(l.GetName(1), L"");
    EXPECT_EQ(l.GetValue(L"TITLE"), L"a=b");
    EXPECT_EQ(l.GetValueFromIndex(2), L"a=b");
    EXPECT_EQ(l.IndexOfName(L"width"), 0);
    l.SetValue(L"width", L"320");
    EXPECT_EQ(l[0], L"width=320");
    l.SetValue(L"Height", L"240");
    EXPECT_EQ(l[3], L"Height=240");
    l.SetValue(L"Title", L"");
    EXPECT_EQ(l.GetCount(), 3);
    EXPECT_EQ(l.IndexOfName(L"Title"), -1);
}

TEST(StringList, UpdateBracketsFireOnChangeOnce) {
    TStringList l;
    int changes = 0, changing = 0;
    l.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &l);
        ++changes;
    };
    l.OnChanging = [&](TObject*) { ++changing; };
    l.Add(L"a");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(changing, 1);
    l.BeginUpdate();
    l.BeginUpdate();
    l.Add(L"b");
    l.Add(L"c");
    l.EndUpdate();
    EXPECT_EQ(changes, 1);  // still inside the outer bracket
    l.EndUpdate();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(changing, 2);
    l.BeginUpdate();
    l.EndUpdate();
    EXPECT_EQ(changes, 2);  // nothing changed
    l.SetText(L"x\ny\nz");
    EXPECT_EQ(changes, 3);  // SetText is one change
}

TEST(StringList, AssignCopiesItemsObjectsAndCaseRule) {
    TStringList a, b;
    a.AddData(L"one", 1);
    a.AddData(L"two", 2);
    a.SetCaseSensitive(true);
    b.Add(L"old");
    EXPECT_TRUE(b.Assign(a));
    EXPECT_TRUE(b.Equals(a));
    EXPECT_EQ(b.GetData(1), 2);
    EXPECT_TRUE(b.GetCaseSensitive());
    TPersistent plain;
    EXPECT_FALSE(b.Assign(plain));
    EXPECT_TRUE(b.InheritsFrom(L"TPersistent"));
    EXPECT_EQ(b.ClassName(), L"TStringList");
    // Published as text, as the skin engine reads and writes properties by name.
    EXPECT_TRUE(SetStrProp(&b, L"text", L"x\ny"));
    std::int64_t count = 0;
    EXPECT_TRUE(GetOrdProp(&b, L"Count", count));
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(SetOrdProp(&b, L"Count", 5));
}

TEST(StringList, StreamsRoundTripAndDecodeCommonEncodings) {
    TStringList l;
    l.SetText(L"第一行\r\nsecond");
    TMemoryStream m;
    l.SaveToStream(m);
    EXPECT_EQ(m.GetMemory()[0], 0xFF);  // UTF-16 LE with BOM
    EXPECT_EQ(m.GetMemory()[1], 0xFE);
    m.SetPosition(0);
    TStringList back;
    back.LoadFromStream(m);
    EXPECT_TRUE(back.Equals(l));

    const char utf8[] = "\xEF\xBB\xBF\xE8\xA7\x86\xE9\xA2\x91\r\nx";
    TMemoryStream u;
    u.Write(utf8, sizeof(utf8) - 1);
    u.SetPosition(0);
    back.LoadFromStream(u);
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back[0], L"视频");

    const unsigned char be[] = {0xFE, 0xFF, 0x89, 0xC6, 0x00, 0x0A, 0x00, 0x41};
    TMemoryStream b;
    b.Write(be, sizeof(be));
    b.SetPosition(0);
    back.LoadFromStream(b);
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back[0], L"视");
    EXPECT_EQ(back[1], L"A");

    // Reading starts at the stream's position.
    TMemoryStream p;
    p.Write("skip|a\nb", 8);
    p.SetPosition(5);
    back.LoadFromStream(p);
    EXPECT_EQ(back.GetText(), L"a\r\nb\r\n");
}

TEST(DecodeText, InvalidUtf8FallsBackToTheLegacyCodePage) {
    const unsigned char gbk[] = {0xCA, 0xD3, 0xC6, 0xB5};  // "视频" in GBK, not valid UTF-8
    const std::wstring text = DecodeText(gbk, sizeof(gbk));
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text.find(L'\uFFFD'), std::wstring::npos);
#ifndef _WIN32
    EXPECT_EQ(text, std::wstring(L"\u00CA\u00D3\u00C6\u00B5"));  // Latin-1 off Windows
#endif
}

}  // namespace
}  // namespace vx
