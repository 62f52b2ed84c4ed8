#include "imaging/model/RestorationSession.h"
#include "imaging/model/Treatment.h"
#include "imaging/model/TreatmentEntry.h"

#include <gtest/gtest.h>

using namespace plenoria;

TEST(TreatmentKinds, RawValuesTitlesAndOrderRoundTrip)
{
    QStringList ids;
    for (TreatmentKind kind : allTreatmentKinds) {
        ids << treatmentKindId(kind);
        EXPECT_EQ(treatmentKindFromId(treatmentKindId(kind)), kind);
    }
    EXPECT_EQ(ids.join(','), "crop,extend,resize,ground,tone,text,stamp,frames");
    EXPECT_EQ(treatmentKindTitle(TreatmentKind::frames), "Frames");
    EXPECT_FALSE(treatmentKindFromId("Crop"));
    EXPECT_FALSE(treatmentKindFromId(""));
    EXPECT_EQ(Treatment(FramesSpec{}).kind(), TreatmentKind::frames);
    EXPECT_EQ(Treatment(GroundSpec{}).kind(), TreatmentKind::ground);
}

TEST(TreatmentDefaults, FollowTheInputSize)
{
    EXPECT_EQ(Treatment::defaultFor(TreatmentKind::resize, {600, 400})->resizeSpec()->longestEdge, 128);
    EXPECT_EQ(Treatment::defaultFor(TreatmentKind::resize, {90, 20})->resizeSpec()->longestEdge, 90);
    EXPECT_EQ(Treatment::defaultFor(TreatmentKind::resize, {0, 0})->resizeSpec()->longestEdge, 1);
    EXPECT_EQ(*Treatment::defaultFor(TreatmentKind::crop, {64.9, 48.2})->cropSpec(), (CropSpec{0, 0, 64, 48}));
    EXPECT_EQ(*Treatment::defaultFor(TreatmentKind::extend, {30, 70})->extendSpec(), (ExtendSpec{70, 70, {1, 1}}));
    EXPECT_EQ(*Treatment::defaultFor(TreatmentKind::ground, {5, 5})->groundSpec(), GroundSpec{});
    EXPECT_EQ(*Treatment::defaultFor(TreatmentKind::tone, {5, 5})->toneSpec(), ToneSpec{});
    EXPECT_FALSE(Treatment::defaultFor(TreatmentKind::stamp, {5, 5}));
    EXPECT_FALSE(Treatment::defaultFor(TreatmentKind::frames, {5, 5}));
}

TEST(TreatmentDefaults, TextSitsLowAndScalesWithTheShortSide)
{
    const TextSpec text = TextSpec::defaultFor({100, 60});
    EXPECT_EQ(text.content, "OMG");
    EXPECT_EQ(text.size, 17);
    EXPECT_DOUBLE_EQ(text.outlineWidth, 0.595);
    EXPECT_EQ(text.center, QPointF(50, 49.2));
    EXPECT_EQ(text.colorHex, "#FFFFFF");
    EXPECT_EQ(text.outlineHex, "#211E19");
    EXPECT_EQ(text.fontName, defaultTextFont());
    EXPECT_FALSE(text.fontName.isEmpty());

    // A tiny image would round the size to 0; it never goes below 1.
    EXPECT_EQ(TextSpec::defaultFor({1, 1}).size, 1);
    EXPECT_EQ(TextSpec::defaultFor({0, 0}).size, 1);
}

TEST(Clamps, KeepCropsInsideAndExtendsAroundTheImage)
{
    EXPECT_EQ((CropSpec{-5, 10, 500, 0}.clamped({64, 64})), (CropSpec{0, 10, 64, 1}));
    EXPECT_EQ((CropSpec{60, 60, 10, 10}.clamped({64, 64})), (CropSpec{54, 54, 10, 10}));
    EXPECT_EQ((CropSpec{3, 3, 10, 10}.clamped({0, 0})), (CropSpec{0, 0, 1, 1}));

    const ExtendSpec extend{10, 200, {2, 0}};
    EXPECT_EQ(extend.clamped({64, 64}), (ExtendSpec{64, 200, {2, 0}}));
    EXPECT_EQ(extend.squared(10, {64, 64}), (ExtendSpec{64, 64, {2, 0}}));
    EXPECT_EQ(extend.squared(300, {64, 20}), (ExtendSpec{300, 300, {2, 0}}));
    EXPECT_EQ(extend.clamped({0, 0}), (ExtendSpec{10, 200, {2, 0}}));
    EXPECT_EQ((ExtendSpec{100, 50, {}}.padding({40, 30})), (IntSize{60, 20}));
    EXPECT_EQ((ExtendSpec{10, 50, {}}.padding({40.7, 0})), (IntSize{0, 49}));
}

TEST(Summaries, DescribeEachKindInOneLine)
{
    EXPECT_EQ(Treatment(CropSpec{0, 0, 64, 48}).summary(), "64\u00D748");
    EXPECT_EQ(Treatment(ExtendSpec{100, 90, {}}).summary(), "100\u00D790");
    EXPECT_EQ(Treatment(ResizeSpec{128}).summary(), "\u2192128px");

    EXPECT_EQ(Treatment(GroundSpec{ColorKey{"#00FF00"}, TransparentFill{}}).summary(), "keyed out");
    EXPECT_EQ(Treatment(GroundSpec{ColorKey{"#00FF00"}, ColorFill{"#AABBCC"}}).summary(), "keyed \u2192 #aabbcc");
    EXPECT_EQ(Treatment(GroundSpec{SubjectKey{}, TransparentFill{}}).summary(), "subject lifted");
    EXPECT_EQ(Treatment(GroundSpec{SubjectKey{}, ColorFill{"#FFFFFF"}}).summary(), "subject \u2192 #ffffff");
    EXPECT_EQ(Treatment(GroundSpec{}).summary(), "no change");
    EXPECT_EQ(Treatment(GroundSpec{NoKey{}, ColorFill{"#00AAFF"}}).summary(), "fill #00aaff");

    StampSpec stamp;
    stamp.name = "sticker.png";
    stamp.width = 32.4;
    EXPECT_EQ(Treatment(stamp).summary(), "sticker.png \u00B7 32px");
    stamp.name = "a-very-long-sticker-name.png";
    stamp.width = 2.5;
    EXPECT_EQ(stamp.summary(), "a-very-long- \u00B7 3px");
}

TEST(Summaries, ToneNamesTheTwoStrongestAdjustments)
{
    ToneSpec tone;
    EXPECT_EQ(tone.summary(), "neutral");
    tone.hue = 0.004;
    EXPECT_EQ(tone.summary(), "neutral");
    tone.hue = -0.005;
    EXPECT_EQ(tone.summary(), "hue \u22121");

    ToneSpec mixed;
    mixed.brightness = 0.3;
    mixed.warmth = -0.42;
    EXPECT_EQ(mixed.summary(), "warm \u221242 \u00B7 bright +30");
    mixed.contrast = 0.3; // ties keep the fixed order: bright before contrast
    mixed.highlights = 0.1;
    const auto active = mixed.activeAdjustments();
    ASSERT_EQ(active.size(), 4u);
    EXPECT_EQ(active[0].label, "warm");
    EXPECT_EQ(active[1].label, "bright");
    EXPECT_EQ(active[2].label, "contrast");
    EXPECT_EQ(active[3].label, "high");
}

TEST(Summaries, TextIsQuotedAndCutByCharacters)
{
    TextSpec text;
    text.content = "  \n ";
    EXPECT_EQ(text.summary(), "empty");
    text.content = "Hello world, again";
    EXPECT_EQ(text.summary(), "\u201CHello world, a\u201D");
    // Flags are two code points each; a cut never splits one.
    text.content = QString("\U0001F1EB\U0001F1F7").repeated(15);
    EXPECT_EQ(text.summary(), "\u201C" + QString("\U0001F1EB\U0001F1F7").repeated(14) + "\u201D");
}

TEST(PayloadViews, AnswerTheirOwnKindAndWritingSwitchesTheKind)
{
    Treatment treatment = CropSpec{1, 2, 3, 4};
    EXPECT_TRUE(treatment.cropSpec());
    EXPECT_FALSE(treatment.toneSpec());
    EXPECT_FALSE(treatment.textSpec());

    treatment.setToneSpec(std::nullopt);
    EXPECT_EQ(treatment.kind(), TreatmentKind::crop);

    ToneSpec tone;
    tone.warmth = 0.5;
    treatment.setToneSpec(tone);
    EXPECT_EQ(treatment.kind(), TreatmentKind::tone);
    EXPECT_FALSE(treatment.cropSpec());
    EXPECT_EQ(treatment.toneSpec()->warmth, 0.5);
}

TEST(Equality, RowsDifferByIdAndSpecsByEveryField)
{
    const Treatment crop = CropSpec{0, 0, 10, 10};
    const TreatmentRecord a = {TreatmentEntry(crop)};
    const TreatmentRecord b = {TreatmentEntry(crop)};
    EXPECT_NE(a, b);
    EXPECT_EQ(a, TreatmentRecord{a[0]});

    TreatmentEntry changed = a[0];
    changed.treatment.setCropSpec(CropSpec{0, 0, 10, 11});
    EXPECT_NE(changed, a[0]);
    EXPECT_EQ(changed.id, a[0].id);

    EXPECT_EQ((GroundSpec{SubjectKey{}, TransparentFill{}}), (GroundSpec{SubjectKey{}, TransparentFill{}}));
    EXPECT_NE((GroundSpec{SubjectKey{}, TransparentFill{}}), (GroundSpec{SubjectKey{std::set<qint64>{}}, TransparentFill{}}));
    EXPECT_EQ((SubjectKey{std::set<qint64>{2, 1}}), (SubjectKey{std::set<qint64>{1, 2}}));

    StampSpec s1;
    s1.imageData = QByteArray("\x89PNG", 4);
    StampSpec s2 = s1;
    EXPECT_EQ(Treatment(s1), Treatment(s2));
    s2.imageData[3] = 'X';
    EXPECT_NE(Treatment(s1), Treatment(s2));

    RestorationSession session;
    RestorationSession copy = session;
    EXPECT_EQ(session, copy);
    copy.record.push_back(TreatmentEntry(crop));
    EXPECT_NE(session, copy);
}
