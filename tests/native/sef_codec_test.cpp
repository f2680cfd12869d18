#include "engines/sef_codec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/support/sef_image.h"
#include "tests/support/test_entries.h"

namespace {

// The documented example: name AB, Character 2, URL1 head x/?q= and key +.
EngineEntry ExampleEntry() {
    EngineEntry e = MakeEntry("AB", "x/?q=", "+");
    e.Character = 2;
    return e;
}

const std::vector<uint8_t> kExampleBody = {0x41, 0x42, 0x00, 0x1D, 0x00, 0x02, 0x78, 0x2F, 0x3F,
                                           0x71, 0x3D, 0x00, 0xFB, 0x01, 0x2B, 0x00, 0x1F, 0x02};

std::vector<uint8_t> HeaderFor(uint8_t count, uint32_t size) {
    std::vector<uint8_t> h(64, 0);
    std::memcpy(h.data(), "VANTU_SEFFILE", 14);
    h[14] = 1;
    h[15] = count;
    const uint32_t check = SefCheckValue(count, size);
    for (int i = 0; i < 4; ++i) {
        h[16 + i] = uint8_t(size >> (8 * i));
        h[20 + i] = uint8_t(check >> (8 * i));
    }
    return h;
}

// A file image with a correct header around any body.
std::vector<uint8_t> ImageWithBody(uint8_t count, const std::vector<uint8_t>& body) {
    std::vector<uint8_t> img = HeaderFor(count, uint32_t(64 + body.size()));
    img.insert(img.end(), body.begin(), body.end());
    return img;
}

int Decode(const std::vector<uint8_t>& img, std::unique_ptr<EngineEntry[]>& out) {
    return DecodeSefImage(img.data(), img.size(), out);
}

// The writer into a buffer of the largest size, as the program calls it; img is left
// untouched on a refusal.
bool Encode(const EngineEntry* entries, int count, std::vector<uint8_t>& img) {
    std::vector<uint8_t> out = SefImageOf(entries, count);
    if (out.empty()) return false;
    img.swap(out);
    return true;
}

TEST(SefCodec, WorkedExampleEncodesToTheDocumented82Bytes) {
    const EngineEntry e = ExampleEntry();
    std::vector<uint8_t> img;
    ASSERT_TRUE(Encode(&e, 1, img));
    ASSERT_EQ(img.size(), 82u);
    EXPECT_EQ(std::vector<uint8_t>(img.begin() + 64, img.end()), kExampleBody);
    EXPECT_EQ(0, std::memcmp(img.data(), "VANTU_SEFFILE\0", 14));
    EXPECT_EQ(img[14], 1);
    EXPECT_EQ(img[15], 1);
    EXPECT_EQ(img[16], 82);
    EXPECT_EQ(img[20], 165); // 1 + 164 + 0
    for (int i = 24; i < 64; ++i)
        EXPECT_EQ(img[i], 0) << i;
}

TEST(SefCodec, WorkedExampleDecodesToTheEntry) {
    std::unique_ptr<EngineEntry[]> out;
    ASSERT_EQ(Decode(ImageWithBody(1, kExampleBody), out), 1);
    const EngineEntry e = ExampleEntry();
    EXPECT_EQ(0, std::memcmp(out.get(), &e, sizeof e));
}

TEST(SefCodec, CheckValueUsesIntegerDivisions) {
    EXPECT_EQ(SefCheckValue(1, 82), 165u);
    EXPECT_EQ(SefCheckValue(3, 1000), 3u + 666u + 1u);
    EXPECT_EQ(SefCheckValue(64, 70000), 64u + 2187u + 38u);
}

TEST(SefCodec, RoundTripsAFullTableOfLongFields) {
    std::vector<EngineEntry> entries;
    for (int i = 0; i < 64; ++i) {
        EngineEntry e =
            MakeEntry(std::string(27, char('a' + i % 26)), std::string(255, 'h'),
                      std::string(15, 'k'), std::string(255, 't'), std::string(255, 'H'),
                      std::string(15, 'K'), std::string(255, 'T'), uint8_t(i % 4), uint8_t(i));
        e.Name[0] = char(0x81 + i % 10); // Shift-JIS lead bytes are ordinary data here
        entries.push_back(e);
    }
    std::vector<uint8_t> img;
    ASSERT_TRUE(Encode(entries.data(), 64, img));
    std::unique_ptr<EngineEntry[]> out;
    ASSERT_EQ(Decode(img, out), 64);
    EXPECT_EQ(0, std::memcmp(out.get(), entries.data(), 64 * sizeof(EngineEntry)));
}

TEST(SefCodec, SingleZeroBetweenRecordsIsAThreeByteRun) {
    // A full URL2 tail followed by the next record's Name leaves one zero byte between.
    EngineEntry a = MakeEntry("A", "h", "k", "", "h2", "k2", std::string(255, 'z'));
    EngineEntry b = MakeEntry("B", "h", "k");
    EngineEntry both[2] = {a, b};
    std::vector<uint8_t> img;
    ASSERT_TRUE(Encode(both, 2, img));
    const uint8_t pattern[] = {'z', 0x00, 0x01, 0x00, 'B'};
    auto it = std::search(img.begin(), img.end(), std::begin(pattern), std::end(pattern));
    EXPECT_NE(it, img.end());
}

TEST(SefCodec, WriterRefusesEntriesWithoutNameHeadOrKey) {
    const EngineEntry bad[] = {MakeEntry("", "h", "k"), MakeEntry("n", "", "k"),
                               MakeEntry("n", "h", "")};
    for (const EngineEntry& e : bad) {
        std::vector<uint8_t> img = {1, 2, 3};
        EXPECT_FALSE(Encode(&e, 1, img));
        EXPECT_EQ(img.size(), 3u); // untouched
    }
    const EngineEntry good = MakeEntry("n", "h", "k");
    std::vector<uint8_t> img;
    EXPECT_FALSE(Encode(&good, 0, img));
    std::vector<EngineEntry> many(65, good);
    EXPECT_FALSE(Encode(many.data(), 65, img));
}

// The image of 64 records whose every other byte is zero is the largest there is: it fills
// SefImageCapacity but for the slack, and one byte less of room is refused untouched.
TEST(SefCodec, WriterBufferBound) {
    std::vector<EngineEntry> entries(64);
    uint8_t* bytes = reinterpret_cast<uint8_t*>(entries.data());
    for (size_t i = 0; i < entries.size() * sizeof(EngineEntry); ++i)
        bytes[i] = i % 2 == 0 ? 'x' : 0;
    std::vector<uint8_t> out(SefImageCapacity(64), 0xEE);
    const size_t size = EncodeSefImage(entries.data(), 64, out.data(), out.size());
    // Each zero is a run of its own: every two bytes become four.
    EXPECT_EQ(size, 64 + 2 * 64 * sizeof(EngineEntry));
    EXPECT_LE(size, out.size());
    std::unique_ptr<EngineEntry[]> back;
    ASSERT_EQ(DecodeSefImage(out.data(), size, back), 64);
    EXPECT_EQ(0, std::memcmp(back.get(), entries.data(), 64 * sizeof(EngineEntry)));

    std::vector<uint8_t> small(size - 1, 0xEE);
    EXPECT_EQ(EncodeSefImage(entries.data(), 64, small.data(), small.size()), 0u);
    for (const uint8_t b : small)
        ASSERT_EQ(b, 0xEE);
}

TEST(SefCodec, ReaderAcceptsAnEmptyUrl1KeyThatTheWriterRefuses) {
    EngineEntry e = MakeEntry("n", "h", "k");
    std::vector<uint8_t> img;
    ASSERT_TRUE(Encode(&e, 1, img));
    // Rewrite the body by hand without the key: name n, head h, all else zero.
    std::vector<uint8_t> body = {'n', 0, 31, 0, 'h', 0, 0x1F, 0x04}; // 1 + 31 + 1 + 1055
    std::unique_ptr<EngineEntry[]> out;
    ASSERT_EQ(Decode(ImageWithBody(1, body), out), 1);
    EXPECT_EQ(out[0].key[0][0], '\0');
    EXPECT_FALSE(Encode(out.get(), 1, img));
}

TEST(SefCodec, ReaderAcceptsSplitAndEmptyRuns) {
    // The example body with the run of 507 split into 0 + 500 + 7.
    std::vector<uint8_t> body = {0x41, 0x42, 0x00, 0x1D, 0x00, 0x02, 0x78, 0x2F,
                                 0x3F, 0x71, 0x3D, 0x00, 0x00, 0x00, 0x00, 0xF4,
                                 0x01, 0x00, 0x07, 0x00, 0x2B, 0x00, 0x1F, 0x02};
    std::unique_ptr<EngineEntry[]> out;
    ASSERT_EQ(Decode(ImageWithBody(1, body), out), 1);
    const EngineEntry e = ExampleEntry();
    EXPECT_EQ(0, std::memcmp(out.get(), &e, sizeof e));
}

struct InvalidCase {
    const char* what;
    std::vector<uint8_t> image;
};

std::vector<InvalidCase> InvalidImages() {
    std::vector<InvalidCase> cases;
    const std::vector<uint8_t> good = ImageWithBody(1, kExampleBody);
    auto with = [&](const char* what, auto change) {
        std::vector<uint8_t> img = good;
        change(img);
        cases.push_back({what, img});
    };
    with("magic differs", [](auto& i) { i[0] = 'W'; });
    with("magic without its NUL", [](auto& i) { i[13] = 'X'; });
    with("count 0", [](auto& i) { i[15] = 0; });
    with("count 65", [](auto& i) { i[15] = 65; });
    with("size field one more", [](auto& i) { i[16] = 83; });
    with("size field one less", [](auto& i) { i[16] = 81; });
    with("check value off", [](auto& i) { i[20] = 166; });
    with("name without NUL in 28 bytes", [](auto& i) {
        // 28 bytes of name, then the rest as in the example
        std::vector<uint8_t> body(28, 'N');
        body.insert(body.end(), {0x00, 0x03, 0x00, 0x02, 0x78, 0x2F, 0x3F, 0x71, 0x3D, 0x00, 0xFB,
                                 0x01, 0x2B, 0x00, 0x1F, 0x02});
        i = ImageWithBody(1, body);
    });
    cases.push_back({"body one byte short",
                     ImageWithBody(1, {0x41, 0x42, 0x00, 0x1D, 0x00, 0x02, 0x78, 0x2F, 0x3F, 0x71,
                                       0x3D, 0x00, 0xFB, 0x01, 0x2B, 0x00, 0x1E, 0x02})});
    cases.push_back({"body one byte long",
                     ImageWithBody(1, {0x41, 0x42, 0x00, 0x1D, 0x00, 0x02, 0x78, 0x2F, 0x3F, 0x71,
                                       0x3D, 0x00, 0xFB, 0x01, 0x2B, 0x00, 0x20, 0x02})});
    cases.push_back({"literal byte past the table",
                     ImageWithBody(1, {0x41, 0x42, 0x00, 0x1D, 0x00, 0x02, 0x78, 0x2F, 0x3F, 0x71,
                                       0x3D, 0x00, 0xFB, 0x01, 0x2B, 0x00, 0x1F, 0x02, 0x41})});
    cases.push_back({"run past the table", ImageWithBody(1, {0x41, 0x00, 0xFF, 0xFF})});
    cases.push_back({"body ends inside a triple",
                     ImageWithBody(1, {0x41, 0x42, 0x00, 0x1D, 0x00, 0x02, 0x78, 0x2F, 0x3F, 0x71,
                                       0x3D, 0x00, 0xFB, 0x01, 0x2B, 0x00, 0x1F})});
    cases.push_back({"empty name", ImageWithBody(1, {0x00, 0x20, 0x00, 0x78, 0x00, 0x1F, 0x04})});
    cases.push_back({"empty URL1 head", ImageWithBody(1, {0x41, 0x00, 0x3F, 0x04})});
    {
        std::vector<uint8_t> img = HeaderFor(1, 66);
        img.insert(img.end(), {0x41, 0x42});
        cases.push_back({"66 bytes with a correct magic", img});
    }
    {
        std::vector<uint8_t> img = HeaderFor(1, 65);
        img.push_back(0x41);
        cases.push_back({"65 bytes with a correct magic", img});
    }
    cases.push_back({"header only", HeaderFor(1, 64)});
    cases.push_back({"nothing", {}});
    return cases;
}

TEST(SefCodec, ReaderRejectsEveryMalformedImageAndKeepsTheOldTable) {
    for (const InvalidCase& c : InvalidImages()) {
        std::unique_ptr<EngineEntry[]> out(new EngineEntry[1]);
        EngineEntry* const before = out.get();
        EXPECT_EQ(Decode(c.image, out), kReadInvalid) << c.what;
        EXPECT_EQ(out.get(), before) << c.what;
    }
}

TEST(SefCodec, MagicTest) {
    const uint8_t good[16] = {'V', 'A', 'N', 'T', 'U', '_', 'S', 'E', 'F', 'F', 'I', 'L', 'E', 0};
    EXPECT_TRUE(HasSefMagic(good, sizeof good));
    EXPECT_FALSE(HasSefMagic(good, 13));
    uint8_t lower[16];
    std::memcpy(lower, good, 16);
    lower[0] = 'v';
    EXPECT_FALSE(HasSefMagic(lower, sizeof lower));
}

} // namespace
