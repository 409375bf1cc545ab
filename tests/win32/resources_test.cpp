// The resources of the built OrvantaCtrl.exe, read back from the file: the
// dialog template control by control, the notice, the icon, the manifest
// and the version block, each in its language and nothing else besides.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "expected_texts.h"
#include "res/resource.h"

namespace {

constexpr WORD kKorean = MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN);          // 1042
constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);  // 1033

// The executable, opened for its resources only.
class ExecutableResources : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_ = LoadLibraryExA(ORVANTA_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  static void TearDownTestSuite() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(module_, nullptr) << "cannot open " << ORVANTA_EXE_PATH; }

  // The bytes of one resource in one language; empty when there is none.
  static std::vector<BYTE> Bytes(LPCSTR type, int id, WORD language) {
    HRSRC found = FindResourceExA(module_, type, MAKEINTRESOURCEA(id), language);
    HGLOBAL loaded = found ? LoadResource(module_, found) : nullptr;
    const auto* data = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
    if (!data) return {};
    return std::vector<BYTE>(data, data + SizeofResource(module_, found));
  }

  static HMODULE module_;
};

HMODULE ExecutableResources::module_ = nullptr;

// Reads the little-endian fields of a resource one after another. Reading
// past the end sets `overrun` and yields zeros.
class FieldReader {
 public:
  explicit FieldReader(const std::vector<BYTE>& bytes) : bytes_(bytes) {}

  WORD Word() {
    if (at_ + 2 > bytes_.size()) {
      overrun = true;
      at_ = bytes_.size();
      return 0;
    }
    const WORD value = static_cast<WORD>(bytes_[at_] | bytes_[at_ + 1] << 8);
    at_ += 2;
    return value;
  }
  DWORD Dword() { return Word() | static_cast<DWORD>(Word()) << 16; }
  short Short() { return static_cast<short>(Word()); }
  BYTE Byte() {
    if (at_ + 1 > bytes_.size()) {
      overrun = true;
      return 0;
    }
    return bytes_[at_++];
  }
  std::u16string String() {
    std::u16string text;
    for (WORD unit = Word(); unit != 0 && !overrun; unit = Word())
      text += static_cast<char16_t>(unit);
    return text;
  }
  // A name or an ordinal: an ordinal comes back as "#number".
  std::u16string NameOrOrdinal() {
    if (Peek() != 0xFFFF) return String();
    Word();
    const std::string number = "#" + std::to_string(Word());
    return std::u16string(number.begin(), number.end());
  }
  void AlignToDword() { at_ = std::min((at_ + 3) & ~std::size_t{3}, bytes_.size()); }
  bool AtEnd() const { return at_ == bytes_.size(); }

  bool overrun = false;

 private:
  WORD Peek() const { return at_ + 2 <= bytes_.size() ? bytes_[at_] | bytes_[at_ + 1] << 8 : 0; }

  const std::vector<BYTE>& bytes_;
  std::size_t at_ = 0;
};

using ResourceEntry = std::tuple<ULONG_PTR, ULONG_PTR, WORD>;  // type, id, language

ULONG_PTR Ordinal(LPCSTR type_or_name) {
  return IS_INTRESOURCE(type_or_name) ? reinterpret_cast<ULONG_PTR>(type_or_name) : ~ULONG_PTR{0};
}

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR entries) {
  reinterpret_cast<std::vector<ResourceEntry>*>(entries)->emplace_back(Ordinal(type), Ordinal(name),
                                                                       language);
  return TRUE;
}

BOOL CALLBACK AddName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR entries) {
  EnumResourceLanguagesA(module, type, name, AddLanguage, entries);
  return TRUE;
}

BOOL CALLBACK AddType(HMODULE module, LPSTR type, LONG_PTR entries) {
  EnumResourceNamesA(module, type, AddName, entries);
  return TRUE;
}

// Every resource is Korean except the manifest, which is English, and the
// executable holds no other resource.
TEST_F(ExecutableResources, ExactlyTheListedResourcesInTheirLanguages) {
  std::vector<ResourceEntry> found;
  EnumResourceTypesA(module_, AddType, reinterpret_cast<LONG_PTR>(&found));
  std::sort(found.begin(), found.end());

  const std::vector<ResourceEntry> expected = {
      {3, 1, kKorean},                    // the icon's image
      {5, IDD_CONSENT_DIALOG, kKorean},   // dialog
      {6, IDS_NOTICE / 16 + 1, kKorean},  // the string block with the notice
      {14, IDI_DIALOG_ICON, kKorean},     // icon group
      {16, VS_VERSION_INFO, kKorean},     // version block
      {24, 1, kEnglishUs},                // manifest
  };
  EXPECT_EQ(found, expected);
}

struct ExpectedControl {
  DWORD id;
  DWORD style;
  short x, y, width, height;
  std::u16string window_class;
  std::u16string text;
};

// The consent dialog's template, header and controls, exactly as designed.
TEST_F(ExecutableResources, DialogTemplate) {
  const std::vector<BYTE> bytes = Bytes(RT_DIALOG, IDD_CONSENT_DIALOG, kKorean);
  ASSERT_FALSE(bytes.empty());
  FieldReader read(bytes);

  EXPECT_EQ(read.Word(), 1);  // extended template
  EXPECT_EQ(read.Word(), 0xFFFF);
  EXPECT_EQ(read.Dword(), 0u);  // help id
  EXPECT_EQ(read.Dword(), 0u);  // extended style
  EXPECT_EQ(read.Dword(), 0x80C800C8u);
  const WORD control_count = read.Word();
  EXPECT_EQ(read.Short(), 0);
  EXPECT_EQ(read.Short(), 0);
  EXPECT_EQ(read.Short(), 343);
  EXPECT_EQ(read.Short(), 179);
  EXPECT_EQ(read.NameOrOrdinal(), u"");  // no menu
  EXPECT_EQ(read.NameOrOrdinal(), u"");  // the standard dialog class
  EXPECT_EQ(read.String(), u"신뢰할 수 있는 사이트 추가");
  EXPECT_EQ(read.Word(), 8);    // points
  EXPECT_EQ(read.Word(), 400);  // weight
  EXPECT_EQ(read.Byte(), 0);    // not italic
  EXPECT_EQ(read.Byte(), 1);    // character set
  EXPECT_EQ(read.String(), u"MS Shell Dlg");

  const ExpectedControl expected[] = {
      {IDOK, 0x50010000, 268, 150, 67, 14, u"#128", u"확 인"},
      {IDC_GROUP_FRAME, 0x50000007, 7, 2, 329, 138, u"#128", u""},
      {IDC_AGREE_CHECK, 0x50010003, 13, 151, 66, 13, u"#128", u" 동의합니다."},
      {0xFFFFFFFF, 0x50000003, 10, 10, 20, 20, u"#130", u"#102"},
      {IDC_TITLE_TEXT, 0x50020000, 36, 17, 273, 12, u"#130", u"신뢰할 수 있는 사이트 추가"},
      {IDC_NOTICE_TEXT, 0x50020000, 14, 39, 315, 94, u"#130",
       u"아래의 사이트를 신뢰할 수 있는 사이트에 추가?"},
  };
  ASSERT_EQ(control_count, std::size(expected));
  for (const ExpectedControl& control : expected) {
    SCOPED_TRACE("control " + std::to_string(static_cast<int>(control.id)));
    read.AlignToDword();
    EXPECT_EQ(read.Dword(), 0u);  // help id
    EXPECT_EQ(read.Dword(), 0u);  // extended style
    EXPECT_EQ(read.Dword(), control.style);
    EXPECT_EQ(read.Short(), control.x);
    EXPECT_EQ(read.Short(), control.y);
    EXPECT_EQ(read.Short(), control.width);
    EXPECT_EQ(read.Short(), control.height);
    EXPECT_EQ(read.Dword(), control.id);
    EXPECT_EQ(read.NameOrOrdinal(), control.window_class);
    EXPECT_EQ(read.NameOrOrdinal(), control.text);
    EXPECT_EQ(read.Word(), 0);  // no creation data
  }
  EXPECT_FALSE(read.overrun);
  read.AlignToDword();
  EXPECT_TRUE(read.AtEnd());
}

// String 101 is the notice: eight lines, line feeds only, naming the
// registered pattern, short enough for the dialog's buffer of 512 UTF-16
// units and within its budget of 511 bytes in code page 949.
TEST_F(ExecutableResources, NoticeString) {
  const std::vector<BYTE> block = Bytes(RT_STRING, IDS_NOTICE / 16 + 1, kKorean);
  ASSERT_FALSE(block.empty());
  FieldReader read(block);
  std::u16string notice;
  for (int index = 0; index < 16; ++index) {
    std::u16string text(read.Word(), u'\0');
    for (char16_t& unit : text) unit = read.Word();
    if (index == IDS_NOTICE % 16)
      notice = text;
    else
      EXPECT_TRUE(text.empty()) << "string " << (IDS_NOTICE / 16 * 16 + index);
  }
  EXPECT_FALSE(read.overrun);

  EXPECT_EQ(std::wstring(notice.begin(), notice.end()), ExpectedNotice());
  EXPECT_LE(notice.size(), 511u);
  EXPECT_EQ(std::count(notice.begin(), notice.end(), u'\n'), 7);
  EXPECT_EQ(notice.find(u'\r'), std::u16string::npos);
  const int ansi_bytes =
      WideCharToMultiByte(949, 0, reinterpret_cast<const wchar_t*>(notice.data()),
                          static_cast<int>(notice.size()), nullptr, 0, nullptr, nullptr);
  EXPECT_LE(ansi_bytes, 511);
}

// One 32 x 32 image in 16 colours: a green disc with a white tick, a black
// outline and a grey shadow, transparent around it.
TEST_F(ExecutableResources, DialogIcon) {
  const std::vector<BYTE> group = Bytes(RT_GROUP_ICON, IDI_DIALOG_ICON, kKorean);
  FieldReader read_group(group);
  EXPECT_EQ(read_group.Word(), 0);
  EXPECT_EQ(read_group.Word(), 1);   // icons
  ASSERT_EQ(read_group.Word(), 1);   // one image
  EXPECT_EQ(read_group.Byte(), 32);  // width
  EXPECT_EQ(read_group.Byte(), 32);  // height
  EXPECT_EQ(read_group.Byte(), 16);  // colours
  EXPECT_EQ(read_group.Byte(), 0);
  EXPECT_EQ(read_group.Word(), 1);  // planes
  EXPECT_EQ(read_group.Word(), 4);  // bits per pixel
  const DWORD image_size = read_group.Dword();
  const WORD image_id = read_group.Word();
  ASSERT_FALSE(read_group.overrun);
  EXPECT_TRUE(read_group.AtEnd());

  const std::vector<BYTE> image = Bytes(RT_ICON, image_id, kKorean);
  ASSERT_EQ(image.size(), image_size);
  BITMAPINFOHEADER header = {};
  ASSERT_GE(image.size(), sizeof(header) + 16 * 4 + 32 * 16 + 32 * 4);
  std::memcpy(&header, image.data(), sizeof(header));
  EXPECT_EQ(header.biWidth, 32);
  EXPECT_EQ(header.biHeight, 64);  // colour rows and mask rows
  EXPECT_EQ(header.biBitCount, 4);

  // Count the opaque pixels of each colour.
  const BYTE* palette = image.data() + sizeof(header);
  const BYTE* colours = palette + 16 * 4;
  const BYTE* mask = colours + 32 * 16;
  auto rgb = [palette](int index) {
    return RGB(palette[index * 4 + 2], palette[index * 4 + 1], palette[index * 4]);
  };
  int green = 0, white = 0, black = 0, grey = 0, other = 0, transparent_corners = 0;
  for (int row = 0; row < 32; ++row) {
    for (int column = 0; column < 32; ++column) {
      const bool transparent = mask[row * 4 + column / 8] & (0x80 >> column % 8);
      const bool corner = (row == 0 || row == 31) && (column == 0 || column == 31);
      if (transparent) {
        transparent_corners += corner;
        continue;
      }
      const BYTE pair = colours[row * 16 + column / 2];
      switch (rgb(column % 2 ? pair & 0x0F : pair >> 4)) {
        case RGB(0, 128, 0):
          ++green;
          break;
        case RGB(255, 255, 255):
          ++white;
          break;
        case RGB(0, 0, 0):
          ++black;
          break;
        case RGB(128, 128, 128):
          ++grey;
          break;
        default:
          ++other;
      }
    }
  }
  EXPECT_GT(green, white);
  EXPECT_GT(white, 0);
  EXPECT_GT(black, 0);
  EXPECT_GT(grey, 0);
  EXPECT_EQ(other, 0);
  EXPECT_EQ(transparent_corners, 4);
}

// The manifest asks for administrator rights and nothing else: in particular
// no common controls 6, so the controls are drawn unthemed.
TEST_F(ExecutableResources, ManifestOnlyRequestsElevation) {
  const std::vector<BYTE> bytes = Bytes(RT_MANIFEST, 1, kEnglishUs);
  ASSERT_FALSE(bytes.empty());
  const std::string manifest(bytes.begin(), bytes.end());

  EXPECT_NE(manifest.find("<trustInfo"), std::string::npos);
  EXPECT_NE(
      manifest.find(R"(<requestedExecutionLevel level="requireAdministrator" uiAccess="false"/>)"),
      std::string::npos);
  for (const char* absent : {"<dependency", "Common-Controls", "<compatibility", "<application"}) {
    EXPECT_EQ(manifest.find(absent), std::string::npos) << absent;
  }
}

// The version block: version 1.0.0.1, an application for 32-bit Windows, and
// one Korean string table in UTF-16.
TEST_F(ExecutableResources, VersionBlock) {
  const std::vector<BYTE> resource = Bytes(RT_VERSION, VS_VERSION_INFO, kKorean);
  ASSERT_FALSE(resource.empty());
  std::vector<BYTE> block = resource;  // VerQueryValue may write into the block

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
  EXPECT_EQ(fixed->dwFileFlags, 0u);
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &size));
  ASSERT_EQ(size, 4u);
  EXPECT_EQ(translation[0], 0x0412);
  EXPECT_EQ(translation[1], 1200);

  const struct {
    const wchar_t* name;
    std::u16string value;
  } strings[] = {
      {L"FileVersion", u"1, 0, 0, 1"},
      {L"ProductVersion", u"1, 0, 0, 1"},
      {L"FileDescription", u"OrvantaCtrl 응용 프로그램"},
      {L"ProductName", u"OrvantaCtrl 응용 프로그램"},
      {L"InternalName", u"OrvantaCtrl"},
      {L"OriginalFilename", u"OrvantaCtrl.exe"},
  };
  for (const auto& string : strings) {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\041204b0\\") + string.name;
    wchar_t* value = nullptr;
    SCOPED_TRACE(std::string(path.begin(), path.end()));
    ASSERT_TRUE(
        VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &size));
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(value)), string.value);
  }
}

}  // namespace
