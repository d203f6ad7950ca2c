#include "plugin/go.h"

#include "common/error_number.h"
#include "plugin_fixture.h"

using tarvex::testing::errorNumber;

namespace tarvex {
namespace {

// An object that only claims to be a document.
struct FakeDocument final : Object {
    std::string typeName() const override { return "Document"; }
};

using GoTest = testing::PluginTest;

// Each Let starts from a stored value of 7 (or "alt") so that a refused Let shows it kept.
TEST_F(GoTest, LetConvertsOrReturnsTheErrorAndKeepsTheValue) {
    const struct {
        const char* member;
        Variant wert;
        Variant danach;  // what Get returns afterwards
        int fehler;      // error returned to the host, 0 for none
    } lets[] = {
        {"Achslänge", 2.5, std::int16_t{2}, 0},
        {"Achslänge", 3.5, std::int16_t{4}, 0},
        {"Achslänge", 40000, std::int16_t{7}, errc::overflow},
        {"Flurstücke", "12,5", std::int16_t{12}, 0},
        {"AnzahlGrenzpunkte", "viele", std::int16_t{7}, errc::typeMismatch},
        {"Grenzlänge", 3000000000.0, std::int32_t{7}, errc::overflow},
        {"Grenzlänge", 70000.5, std::int32_t{70000}, 0},
        {"ID_Benutzer", Variant::null(), std::int32_t{7}, errc::invalidUseOfNull},
        {"Fläche", "1.234,5", 1234.5, 0},
        {"Bodenwert", Variant::null(), 7.0, errc::invalidUseOfNull},
        {"Lage", Variant::null(), "alt", errc::invalidUseOfNull},
        {"Lage", 12.5, "12,5", 0},
        {"Flurstücksnummer", "123/4", "123/4", 0},
        {"DatenbankPfad", Variant::null(), "alt", errc::invalidUseOfNull},
    };
    GO go;
    for (const auto& let : lets) {
        SCOPED_TRACE(let.member);
        go.put(let.member, let.danach.isString() ? Variant("alt") : Variant(std::int16_t{7}));
        EXPECT_EQ(errorNumber([&] { go.put(let.member, let.wert); }), let.fehler);
        EXPECT_EQ(go.get(let.member), let.danach);
    }
}

TEST_F(GoTest, NeverSetPropertiesAreEmptyAndAllObjectsShareOneSetOfValues) {
    sitzungsdaten().reset();
    GO go, zweites;
    EXPECT_EQ(go.Lage(), Variant(""));
    EXPECT_EQ(go.Fläche(), Variant(0.0));
    EXPECT_EQ(go.Achslänge(), Variant(std::int16_t{0}));
    EXPECT_EQ(go.Grenzlänge(), Variant(std::int32_t{0}));
    EXPECT_EQ(errorNumber([&] { go.Doc().toObject(); }), errc::objectNotSet);
    EXPECT_EQ(errorNumber([&] { go.LumWorkspace().toObject(); }), errc::objectNotSet);
    go.Lage(Variant("Am Hang"));
    zweites.Lage(Variant("Im Tal"));
    EXPECT_EQ(go.Lage(), Variant("Im Tal"));
}

TEST_F(GoTest, ObjectPropertiesCheckTheKindOfObject) {
    GO go;
    auto workspace = sitzungsdaten().LumWorkspace;
    auto database = workspace->openDatabase(file.string());
    const std::pair<const char*, Variant> falsch[] = {
        {"LumWorkspace", Variant(database)},
        {"NeueAbfrage", Variant(workspace)},
        {"Doc", Variant(database)},
        {"NeueAbfrage", Variant(42)},
        {"Doc", Variant(std::make_shared<FakeDocument>())}};
    for (const auto& [member, wert] : falsch)
        EXPECT_EQ(errorNumber([&] { go.put(member, wert); }), errc::typeMismatch) << member;
    EXPECT_EQ(sitzungsdaten().LumWorkspace, workspace);

    go.NeueAbfrage(Variant(database));
    auto document = word::Document::Open(testing::templatePath("template-basic.docx"));
    go.Doc(Variant(document));
    EXPECT_EQ(sitzungsdaten().NeueAbfrage, database);
    EXPECT_EQ(go.Doc().toObject(), document);
    EXPECT_TRUE(sitzungsdaten().WordAnwendung.has_value());
}

TEST_F(GoTest, LateBoundCallsByNameAndIdentifierReachTheSameMembers) {
    GO go;
    const std::pair<const char*, com::DispId> namen[] = {
        {"SHOW", dispid::Show},
        {"aktualisieren", dispid::Aktualisieren},
        {"ACHSLÄNGE", dispid::Achslänge},
        {"fläche", dispid::Fläche},
        {"FlurstÜcksnummer", dispid::Flurstücksnummer},
        {"lumworkspace", dispid::LumWorkspace},
        {"Id_Benutzer", dispid::ID_Benutzer},
        {"NeueAbfrage", 0x68030002},
    };
    for (const auto& [name, id] : namen) EXPECT_EQ(go.idOfName(name), id) << name;

    go.invoke(dispid::Achslänge, com::InvokeKind::PropertyPut, {Variant(3.5)});
    EXPECT_EQ(go.get("achslänge"), Variant(std::int16_t{4}));
    EXPECT_EQ(go.invoke(dispid::Achslänge, com::InvokeKind::Method, {}), Variant(std::int16_t{4}));
    go.put("Grenzlänge", Variant(12));
    EXPECT_EQ(go.Grenzlänge(), Variant(std::int32_t{12}));

    go.call("Show", {Variant(std::int16_t{4}), Variant(), Variant(99)});
    EXPECT_TRUE(windowSlot(4).isLoaded());
    EXPECT_EQ(auftragskontext().Auftragsnummer, 4711);
    EXPECT_EQ(go.call("Aktualisieren"), Variant());

    EXPECT_EQ(errorNumber([&] { go.idOfName("Summe"); }), com::comerr::memberNotFound);
    EXPECT_EQ(errorNumber([&] { go.invoke(0x12345, com::InvokeKind::Method, {}); }),
              com::comerr::memberNotFound);
    EXPECT_EQ(errorNumber([&] { go.call("Show", {Variant(1)}); }), com::comerr::wrongArguments);
    EXPECT_EQ(
        errorNumber([&] { go.invoke(dispid::Show, com::InvokeKind::PropertyPut, {Variant(1)}); }),
        com::comerr::memberNotFound);
    EXPECT_EQ(errorNumber([&] {
                  go.call("Show", {Variant("x"), Variant(), Variant(0)});
              }),
              errc::typeMismatch);
    ASSERT_EQ(go.events().size(), 1u);
    EXPECT_EQ(go.events()[0].name, "DatenAktualisieren");
    EXPECT_EQ(go.events()[0].id, 1);
}

}  // namespace
}  // namespace tarvex
