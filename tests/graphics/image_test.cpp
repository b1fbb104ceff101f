#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/error.h"
#include "core/incbin.h"
#include "graphics/image_commands.h"
#include "graphics/pixmap_loader.h"
#include "png_encode.h"

namespace {

// Hands out numbered frames and counts them, standing in for the 2D driver.
class FakeFrameSource : public TImageFrameSource {
 public:
  class Frame : public TImageFrame {
   public:
    explicit Frame(int n) : number(n) {}
    void Draw(float, float, float, float, float, float) override {}
    int number;
  };

  int GraphicsGeneration() override { return generation; }
  Ref<TImageFrame> CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int flags) override {
    lastPixmap = pixmap;
    lastFlags = flags;
    if (refuse) return nullptr;
    return New<Frame>(++made);
  }

  std::vector<Ref<TImageFrame>> CreateFramesTogether(const std::vector<Ref<TPixmap>>& pixmaps,
                                                     int flags) override {
    together.push_back({static_cast<int>(pixmaps.size()), flags});
    return TImageFrameSource::CreateFramesTogether(pixmaps, flags);
  }

  int generation = 1;
  int made = 0;
  std::vector<std::pair<int, int>> together;  // each call's pixmap count and flags
  bool refuse = false;
  Ref<TPixmap> lastPixmap;
  int lastFlags = 0;
};

int Number(const Ref<TImageFrame>& frame) {
  return frame ? static_cast<FakeFrameSource::Frame*>(frame.get())->number : 0;
}

class ImageTest : public ::testing::Test {
 protected:
  void SetUp() override { SetImageFrameSource(&source_); }
  void TearDown() override {
    SetImageFrameSource(nullptr);
    SetAutoImageFlags(IMAGE_MASKED | IMAGE_FILTERED);
    SetAutoCenterHandle(false);
    SetMaskColor(0, 0, 0);
  }
  FakeFrameSource source_;
};

TEST_F(ImageTest, NewImageTakesTheAutomaticSettings) {
  SetAutoCenterHandle(true);
  Ref<TImage> image = NewImage(16, 16, 10, -1);
  EXPECT_EQ(image->handle_x, 8);
  EXPECT_EQ(image->handle_y, 8);
  EXPECT_EQ(image->flags, IMAGE_MASKED | IMAGE_FILTERED | IMAGE_DYNAMIC);
  EXPECT_EQ(image->FrameCount(), 10);
  for (int i = 0; i < 10; ++i) {
    EXPECT_FALSE(image->pixmaps[i]);
    EXPECT_FALSE(image->frames[i]);
    EXPECT_EQ(image->seqs[i], 0);
  }
  SetAutoImageFlags(9);
  SetAutoImageFlags(-1);  // leaves them as they are
  SetAutoCenterHandle(false);
  SetMaskColor(1, 2, 3);
  Ref<TImage> other = NewImage(5, 3, 1, -1);
  EXPECT_EQ(other->flags, 9);
  EXPECT_EQ(other->handle_x, 0);
  EXPECT_EQ(other->mask_b, 3);
  EXPECT_EQ(NewImage(5, 3, 1, IMAGE_FILTERED)->flags, IMAGE_FILTERED | IMAGE_DYNAMIC);
  EXPECT_THROW(NewImage(-1, 3, 1, 0), TRuntimeError);
}

TEST_F(ImageTest, SetPixmapMasksOnlyPixmapsWithoutAlpha) {
  Ref<TImage> image = TImage::Create(2, 1, 2, IMAGE_MASKED, 255, 0, 255);
  Ref<TPixmap> rgb = TPixmap::Create(2, 1, FORMAT_RGB888, 4);
  rgb->WritePixel(0, 0, 0xFFFF00FF);
  rgb->WritePixel(1, 0, 0xFF102030);
  image->SetPixmap(0, rgb);
  Ref<TPixmap> stored = image->Lock(0, true, false);
  ASSERT_EQ(stored->format, FORMAT_RGBA8888);
  EXPECT_EQ(stored->ReadPixel(0, 0), 0x00102030u);
  EXPECT_EQ(stored->ReadPixel(1, 0), 0xFF102030u);

  Ref<TPixmap> rgba = TPixmap::Create(2, 1, FORMAT_RGBA8888, 4);
  image->SetPixmap(1, rgba);
  EXPECT_EQ(image->Lock(1, true, false), rgba) << "a pixmap with alpha is kept as it is";

  Ref<TImage> plain = TImage::Create(2, 1, 1, IMAGE_FILTERED, 255, 0, 255);
  plain->SetPixmap(0, rgb);
  EXPECT_EQ(plain->Lock(0, true, false), rgb);
}

TEST_F(ImageTest, LockMakesATransparentPixmapForAnEmptyFrame) {
  Ref<TImage> image = TImage::Create(3, 2, 2, 0, 0, 0, 0);
  Ref<TPixmap> p = image->Lock(1, true, true);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->format, FORMAT_RGBA8888);
  EXPECT_EQ(p->width, 3);
  EXPECT_EQ(p->height, 2);
  EXPECT_EQ(p->ReadPixel(2, 1), 0u);
  EXPECT_EQ(image->Lock(1, true, false), p) << "the pixmap stays with the frame";
  EXPECT_THROW(image->Lock(2, true, false), TRuntimeError);
  EXPECT_THROW(image->Lock(-1, true, false), TRuntimeError);
}

TEST_F(ImageTest, DriverFramesAreRemadeOnlyWhenStale) {
  Ref<TImage> image = TImage::Create(4, 4, 1, IMAGE_FILTERED, 0, 0, 0);
  EXPECT_EQ(Number(image->Frame(0)), 1);
  EXPECT_EQ(source_.lastFlags, IMAGE_FILTERED);
  EXPECT_EQ(source_.lastPixmap, image->pixmaps[0]);
  EXPECT_EQ(Number(image->Frame(0)), 1) << "same generation, same frame";

  source_.generation = 2;
  EXPECT_EQ(Number(image->Frame(0)), 2) << "a new graphics generation";
  image->Lock(0, true, false);
  EXPECT_EQ(Number(image->Frame(0)), 2) << "reading leaves the frame";
  image->Lock(0, false, true);
  EXPECT_EQ(Number(image->Frame(0)), 3) << "writing makes it stale";
  image->SetPixmap(0, TPixmap::Create(4, 4, FORMAT_RGBA8888, 4));
  EXPECT_EQ(Number(image->Frame(0)), 4);

  source_.refuse = true;
  source_.generation = 3;
  EXPECT_FALSE(image->Frame(0));
  EXPECT_EQ(image->seqs[0], 0);
  source_.refuse = false;
  EXPECT_EQ(Number(image->Frame(0)), 5) << "a refused frame is asked for again";

  SetImageFrameSource(nullptr);
  EXPECT_FALSE(image->Frame(0)) << "no graphics layer, nothing to draw";
}

TEST_F(ImageTest, LoadTakesAPixmapOrAnythingThatLoadsOne) {
  Ref<TPixmap> black = TPixmap::Create(6, 4, FORMAT_RGB888, 4);
  Ref<TImage> fromPixmap = TImage::Load(black, IMAGE_MASKED, 0, 0, 0);
  ASSERT_TRUE(fromPixmap);
  EXPECT_EQ(fromPixmap->width, 6);
  EXPECT_EQ(fromPixmap->FrameCount(), 1);
  EXPECT_EQ(fromPixmap->Lock(0, true, false)->ReadPixel(5, 3), 0u);

  PngPicture grey;
  grey.width = 3;
  grey.height = 2;
  grey.colorType = PNG_COLOR_TYPE_GRAY;
  grey.rows = {1, 2, 3, 4, 5, 6};
  static const std::vector<unsigned char> file = EncodePng(grey);
  RegisterIncbin("image_test_grey.png", file.data(), file.size());
  SetAutoCenterHandle(true);
  Ref<TImage> imported = ImportImage("incbin::image_test_grey.png", 0);
  ASSERT_TRUE(imported);
  EXPECT_EQ(imported->Lock(0, true, false)->ReadPixel(2, 1), 0xFF060606u);
  EXPECT_EQ(imported->handle_x, 1.5f);
  EXPECT_FALSE(ImportImage("incbin::image_test_missing.png", 0));
}

TEST_F(ImageTest, LoadAnimCutsCellsAcrossThenDown) {
  // A 9 x 4 sheet of 3 x 2 cells: 3 across, 2 down; each cell's top-left pixel holds its number.
  Ref<TPixmap> sheet = TPixmap::Create(10, 5, FORMAT_RGBA8888, 4);
  for (int c = 0; c < 6; ++c)
    sheet->WritePixel(3 * (c % 3), 2 * (c / 3), 0xFF000000u | static_cast<unsigned>(c + 1));
  Ref<TImage> strip = TImage::LoadAnim(sheet, 3, 2, 2, 3, 0, 0, 0, 0);
  ASSERT_TRUE(strip);
  EXPECT_EQ(strip->width, 3);
  ASSERT_EQ(strip->FrameCount(), 3);
  for (int f = 0; f < 3; ++f)
    EXPECT_EQ(strip->Lock(f, true, false)->ReadPixel(0, 0), 0xFF000000u | (f + 3));
  sheet->WritePixel(6, 0, 0);
  EXPECT_EQ(strip->Lock(0, true, false)->ReadPixel(0, 0), 0xFF000003u) << "frames are copies";

  EXPECT_TRUE(TImage::LoadAnim(sheet, 3, 2, 0, 6, 0, 0, 0, 0));
  EXPECT_FALSE(TImage::LoadAnim(sheet, 3, 2, 4, 3, 0, 0, 0, 0)) << "only 6 cells";
  EXPECT_FALSE(TImage::LoadAnim(sheet, 0, 2, 0, 1, 0, 0, 0, 0));
  EXPECT_FALSE(TImage::LoadAnim(sheet, 3, 2, -1, 1, 0, 0, 0, 0));
}

TEST_F(ImageTest, FramesMadeTogetherAreAskedForOncePerFlagsAndOnlyWhenStale) {
  Ref<TImage> a = TImage::Create(4, 4, 2, 0, 0, 0, 0);
  Ref<TImage> b = TImage::Create(4, 4, 1, IMAGE_FILTERED, 0, 0, 0);
  Ref<TImage> c = TImage::Create(4, 4, 1, 0, 0, 0, 0);
  const Ref<TImageFrame> current = c->Frame(0);
  source_.together.clear();
  MakeFramesTogether({a, b, c, nullptr});
  // a's two frames in one call, b's filtered frame in another; c's current frame is kept.
  ASSERT_EQ(source_.together.size(), 2u);
  EXPECT_EQ(source_.together[0], std::make_pair(2, 0));
  EXPECT_EQ(source_.together[1], std::make_pair(1, int{IMAGE_FILTERED}));
  EXPECT_EQ(c->Frame(0), current);
  const int made = source_.made;
  EXPECT_TRUE(a->Frame(1));
  EXPECT_TRUE(b->Frame(0));
  EXPECT_EQ(source_.made, made);  // Frame hands out what was made together

  source_.together.clear();
  MakeFramesTogether({a, b});
  EXPECT_TRUE(source_.together.empty());  // nothing stale
  source_.generation = 2;
  MakeFramesTogether({a, b, c});
  ASSERT_EQ(source_.together.size(), 2u);
  EXPECT_EQ(source_.together[0], std::make_pair(3, 0));  // a's frames and c's, alike
}

}  // namespace
