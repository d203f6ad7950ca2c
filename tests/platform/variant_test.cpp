#include "platform/variant/variant.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/error_number.h"

using tarvex::testing::errorNumber;

using namespace tarvex;

namespace {

struct FieldLike : Object {
    Variant v;
    explicit FieldLike(Variant x) : v(std::move(x)) {}
    std::string typeName() const override { return "Field"; }
    std::optional<Variant> defaultValue() const override { return v; }
};

}  // namespace

TEST(VariantToWhole, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(Variant(2.5).toInteger(), 2);
    EXPECT_EQ(Variant(3.5).toInteger(), 4);
    EXPECT_EQ(Variant(-2.5).toInteger(), -2);
    EXPECT_EQ(Variant(12.5).toLong(), 12);
    EXPECT_EQ(Variant(13.5).toLong(), 14);
}

TEST(VariantToWhole, OutOfRangeIsOverflowNotWrap) {
    EXPECT_EQ(errorNumber([] { Variant(32767.5).toInteger(); }), errc::overflow);  // even: 32768
    EXPECT_EQ(errorNumber([] { Variant(32768).toInteger(); }), errc::overflow);
    EXPECT_EQ(errorNumber([] { Variant(-32769.0).toInteger(); }), errc::overflow);
    EXPECT_EQ(Variant(-32768.0).toInteger(), -32768);
    EXPECT_EQ(errorNumber([] { Variant(3e9).toLong(); }), errc::overflow);
    EXPECT_EQ(errorNumber([] { Variant(std::nan("")).toLong(); }), errc::overflow);
}

TEST(VariantCoercion, NullTextAndEmpty) {
    EXPECT_EQ(errorNumber([] { Variant::null().toInteger(); }), errc::invalidUseOfNull);
    EXPECT_EQ(errorNumber([] { Variant::null().toDouble(); }), errc::invalidUseOfNull);
    EXPECT_EQ(errorNumber([] { Variant::null().toString(); }), errc::invalidUseOfNull);
    EXPECT_EQ(errorNumber([] { Variant("abc").toDouble(); }), errc::typeMismatch);
    EXPECT_EQ(errorNumber([] { Variant("").toInteger(); }), errc::typeMismatch);
    EXPECT_EQ(Variant().toInteger(), 0);
    EXPECT_EQ(Variant().toString(), "");
}

TEST(VariantCoercion, GermanNumericTextConverts) {
    EXPECT_DOUBLE_EQ(Variant("1.234,56").toDouble(), 1234.56);
    EXPECT_DOUBLE_EQ(Variant(" -12,5 ").toDouble(), -12.5);
    EXPECT_EQ(Variant("12,5").toInteger(), 12);
    EXPECT_EQ(Variant("1.5").toInteger(), 15);  // "." groups thousands
}

TEST(VariantCoercion, Flags) {
    EXPECT_FALSE(Variant(0).toBool());
    EXPECT_TRUE(Variant(-1).toBool());
    EXPECT_TRUE(Variant(1).toBool());
    EXPECT_TRUE(Variant(0.5).toBool());
    EXPECT_EQ(Variant(true).toInteger(), -1);
    EXPECT_EQ(errorNumber([] { Variant("").toBool(); }), errc::typeMismatch);
    EXPECT_EQ(errorNumber([] { Variant::null().toBool(); }), errc::invalidUseOfNull);
}

TEST(VariantToString, NumbersAsTheGermanPlatformWritesThem) {
    EXPECT_EQ(Variant(6006.25).toString(), "6006,25");
    EXPECT_EQ(Variant(0.1 + 0.2).toString(), "0,3");
    EXPECT_EQ(Variant(-0.0).toString(), "0");
    EXPECT_EQ(Variant(1234567.0).toString(), "1234567");
    EXPECT_EQ(Variant(1e16).toString(), "1E+16");
    EXPECT_EQ(Variant(std::int16_t(-7)).toString(), "-7");
    EXPECT_EQ(Variant(true).toString(), "Wahr");
    EXPECT_EQ(Variant(makeDate(2011, 3, 15)).toString(), "15.03.2011");
}

TEST(VariantObjects, FieldsStandForTheirValueAndUnsetObjectsFail) {
    auto field = std::make_shared<FieldLike>(Variant(190));
    Variant v(field);
    EXPECT_EQ(v.toInteger(), 190);
    EXPECT_EQ(v.toString(), "190");
    EXPECT_EQ(errorNumber([] { Variant(std::make_shared<FieldLike>(Variant::null())).toLong(); }),
              errc::invalidUseOfNull);
    EXPECT_EQ(errorNumber([] { Variant().toObject(); }), errc::objectNotSet);
    EXPECT_EQ(errorNumber([] { Variant(5).toObject(); }), errc::typeMismatch);
}

TEST(Divide, ByZeroRaisesLikeThePlatform) {
    EXPECT_DOUBLE_EQ(divide(500, 1000), 0.5);
    EXPECT_EQ(errorNumber([] { divide(500, 0); }), errc::divisionByZero);
    EXPECT_EQ(errorNumber([] { divide(0, 0); }), errc::overflow);
}

TEST(Dates, IsoAndGermanText) {
    EXPECT_EQ(germanDateText(Date{parseIsoDate("2011-03-10 08:00:00")->serial + 30}), "09.04.2011");
    EXPECT_FALSE(parseIsoDate("2011-02-30"));
    EXPECT_FALSE(parseIsoDate("gestern"));
    EXPECT_EQ(Variant("10.03.2011").toDate(), makeDate(2011, 3, 10));
    EXPECT_EQ(errorNumber([] { Variant("01.01.100000").toDate(); }), errc::typeMismatch);
}
