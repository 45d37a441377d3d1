// The "revur" document: what a new configuration writes, that a full configuration
// comes back whole, every rule for absent members, and members that cannot be read.
#include "devices/pelmar/PelmarDocument.h"
#include "devices/pelmar/PelmarConfig.h"

#include <gtest/gtest.h>

using namespace vantor;
using json::Json;

namespace {

const ConfigTimeZone kMoscow{180, "(UTC+03:00) Europe/Moscow"};

Json Parsed(const char *text)
{
    auto value = json::Parse(text);
    EXPECT_TRUE(value) << text;
    return value ? *value : Json();
}

// A document {"revur": <text>}.
Json Document(const char *revur)
{
    return Json{{"revur", Parsed(revur)}};
}

class PelmarDocumentTest : public ::testing::Test {
protected:
    PelmarDocumentTest() { config_.TimeZone = kMoscow; }

    void Load(const char *revur)
    {
        std::string error;
        ASSERT_TRUE(LoadConfigJson(config_, Document(revur), &error)) << error;
    }
    std::string LoadFails(const char *revur)
    {
        std::string error;
        EXPECT_FALSE(LoadConfigJson(config_, Document(revur), &error)) << revur;
        return error;
    }
    std::string Written() const { return json::RenderCompact(WritePelmarConfig(config_)); }

    // A configuration with something other than the default everywhere.
    void FillEverything()
    {
        PelmarConfig &c = config_;
        c.Name = "Перекрёсток Ленина — Мира";
        c.Sid = "SID-7";
        c.Oid = "доп";
        c.MinConnectionTime = 250;
        c.MaxConnectionTime = 65535;
        c.TimeCorrectionInterval = 60;
        c.TimeSource = 1;
        c.Door = true;
        c.UseGpsTime = true;
        c.TimeZone = ConfigTimeZone{-210, "(UTC-03:30) America/St_Johns"};
        c.MaxPacketSize = 512;
        c.Priority = PelmarPriority::Gprs;
        c.Gprs = {true,
                  "1234",
                  "internet.example",
                  "gsm",
                  "секрет",
                  {"srv.example.net", 8080, true},
                  {{0x0A000001U, 81, "a.example.net/x"}}};
        c.Ethernet.enabled = true;
        c.Ethernet.mac = "02-00-00-00-00-01";
        c.Ethernet.dhcp = true;
        c.Ethernet.ip = "10.0.0.5";
        c.Ethernet.gate = "10.0.0.1";
        c.Ethernet.mask = "255.255.255.0";
        c.Ethernet.ping = true;
        c.Ethernet.server = {"10.0.0.9", 9000, false};
        c.Ethernet.regs = {};
        c.Web = {true, "Иван", "па:роль", 8081};
        c.SetObjectCount(2);
        c.Object(0) = {false, "СО Мира", 30, true};
        c.SetObjectId(1, 512);
        c.Ids.SetDeviceId(1);
        c.Ids.SetAppObjectsId(2);
        c.Ids.SetDetectorId(3);
        c.Ids.SetAppDetectorId(4);
        c.DetectorEnabled = true;
        c.DetectorName = "КД-1";
        TSensorsSettings &s = c.Sensors;
        TSensorTrend *north = s.AddTrend();
        north->SetName("Север");
        s.AddTrend()->SetName("");
        TBOD *late = s.AddBod();
        late->SetNumber(7);
        late->SetDistance(-1000);
        late->AddSensor()->SetDirection(north);
        late->AddSensor(); // without a direction
        TBOD *early = s.AddBod();
        early->SetName("");
        early->SetNumber(2);
        early->SetDistance(250);
        TSensor *eighth = early->AddSensor();
        eighth->SetNumber(7);
        eighth->SetDirection(s.Trend(1));
    }

    PelmarConfig config_;
};

TEST_F(PelmarDocumentTest, NewConfiguration)
{
    EXPECT_EQ(
        json::RenderCompact(GetConfigJson(config_)),
        R"({"revur":{"en":true,"name":"","sid":"","oid":"","id":2001,"utcs_id":65023,"time_interval":0,)"
        R"("time_source":0,"tmax":0,"tmin":0,"door":false,)"
        R"("geo":{"en":false,"tz":180,"tzname":"(UTC+03:00) Europe/Moscow"},)"
        R"("gprs":{"en":false,"prior":0,"apn":"","pin":"","user":"","psw":"","server":{"fix":false,"url":":1"},)"
        R"("regs":[{"ip":"192.0.2.10","port":80,"script":"reg1.example.net/cgi-bin/svc.cgi"},)"
        R"({"ip":"192.0.2.20","port":80,"script":"reg2.example.net/cgi-bin/svc.cgi"}]},)"
        R"("eth":{"en":false,"prior":1,"ping":false,"dhcp":false,"mac":"","ip":"","gate":"","mask":"",)"
        R"("server":{"fix":false,"url":":1"},)"
        R"("regs":[{"ip":"192.0.2.10","port":80,"script":"reg1.example.net/cgi-bin/svc.cgi"},)"
        R"({"ip":"192.0.2.20","port":80,"script":"reg2.example.net/cgi-bin/svc.cgi"}]},)"
        R"("so":[],"det":{"en":false,"name":"Контроллер датчиков","id":4001,"app_id":65009,"dirs":[],"bods":[]},)"
        R"("web":{"en":false,"port":80},"max_packet":0}})");

    config_.TimeZone.reset(); // no zone chosen
    EXPECT_EQ(json::RenderCompact(WritePelmarConfig(config_)["geo"]), R"({"en":false})");
}

TEST_F(PelmarDocumentTest, FullConfigurationComesBackWhole)
{
    FillEverything();
    const std::string first = Written();
    const Json v = WritePelmarConfig(config_);
    EXPECT_EQ(
        json::RenderCompact(v["so"]),
        R"([{"en":false,"name":"СО Мира","id":1,"du_time":30,"phase_change_messages":true},)"
        R"({"en":true,"name":"Светофорный объект","id":512,"du_time":0,"phase_change_messages":false}])");
    // BODs by number; sensors in the order they were added; directions by position.
    EXPECT_EQ(json::RenderCompact(v["det"]["bods"]),
              R"([{"name":"","num":2,"lanes":[{"num":8,"dir":2}],"distance":250},)"
              R"({"name":"БОД","num":7,"lanes":[{"num":1,"dir":1},{"num":2,"dir":0}],"distance":-1000}])");
    EXPECT_EQ(v["gprs"]["server"]["url"], "srv.example.net:8080");
    EXPECT_EQ(v["gprs"]["prior"], 1);
    EXPECT_EQ(v["eth"]["prior"], 0);
    EXPECT_EQ(v["eth"]["regs"], Json::array());
    EXPECT_EQ(v["web"]["login"], "yOLg7Trv4Drw7uv8"); // "Иван:па:роль" in Windows-1251

    PelmarConfig copy;
    std::string error;
    ASSERT_TRUE(LoadConfigJson(copy, Json{{"revur", *json::Parse(first)}}, &error)) << error;
    EXPECT_EQ(json::RenderCompact(WritePelmarConfig(copy)), first);
    EXPECT_EQ(copy.Web.password, "па:роль");
    const TBOD *seven = copy.Sensors.BodsByNumber()[1];
    EXPECT_EQ(seven->Sensor(1)->Direction(), nullptr); // "dir" 0: no direction
    EXPECT_EQ(seven->Sensor(0)->Direction(), copy.Sensors.Trend(0));
}

TEST_F(PelmarDocumentTest, MissingRootLeavesTheConfigurationAlone)
{
    FillEverything();
    const std::string before = Written();
    for (const char *text : {R"({"vantor5":{}})", R"({"revur":[1]})", R"({"revur":null})", R"([])"}) {
        std::string error;
        EXPECT_FALSE(LoadConfigJson(config_, Parsed(text), &error)) << text;
        EXPECT_EQ(error, "Некорректная конфигурация");
    }
    EXPECT_EQ(Written(), before);
}

TEST_F(PelmarDocumentTest, EmptyRevurStartsObjectsAndIdentifiersAfreshAndSwitchesPartsOff)
{
    FillEverything();
    Load("{}");
    // Kept: plain values absent from the document.
    EXPECT_EQ(config_.Name, "Перекрёсток Ленина — Мира");
    EXPECT_EQ(config_.TimeSource, 1);
    EXPECT_TRUE(config_.UseGpsTime); // no "geo" at all
    EXPECT_EQ(config_.Gprs.apn, "internet.example");
    EXPECT_EQ(config_.Sensors.BodCount(), 2);
    EXPECT_EQ(config_.Web.user, "Иван");
    EXPECT_EQ(config_.MaxPacketSize, 512);
    // Reset or switched off.
    EXPECT_EQ(config_.ObjectCount(), 0);
    EXPECT_EQ(config_.Ids.DeviceId(), 2001);
    EXPECT_EQ(config_.Ids.AppDetectorId(), 65009);
    EXPECT_FALSE(config_.Gprs.enabled);
    EXPECT_FALSE(config_.Ethernet.enabled);
    EXPECT_FALSE(config_.DetectorEnabled);
    EXPECT_FALSE(config_.Web.enabled);
}

TEST_F(PelmarDocumentTest, ObjectsFromSo)
{
    config_.SetObjectCount(5);
    config_.Object(4).name = "old";
    Load(R"({"so":[{"en":true,"name":"Первый","id":300,"du_time":20,"phase_change_messages":true},{},7]})");
    ASSERT_EQ(config_.ObjectCount(), 3);
    std::vector<std::string> captions;
    for (const auto &entry : config_.Ids.Entries())
        captions.push_back(PelmarIdTable::Caption(entry));
    EXPECT_EQ(captions, (std::vector<std::string>{"Собственный ID", "Pelmar", "СО 1", "СО 2", "СО 3", "КД",
                                                  "ID приложения", "СО", "КД"}));
    EXPECT_EQ(config_.Object(0), (PelmarObjectPage{true, "Первый", 20, true}));
    EXPECT_EQ(config_.ObjectId(0), 300);
    // An object without members: unchecked, no name, default identifier.
    EXPECT_EQ(config_.Object(1), (PelmarObjectPage{false, "", 0, false}));
    EXPECT_EQ(config_.ObjectId(1), 2);
    // An element that is no object still makes a page, with the defaults of a new one.
    EXPECT_EQ(config_.Object(2), PelmarObjectPage{});
    EXPECT_EQ(config_.ObjectId(2), 3);

    Load(R"({"name":"x"})"); // no "so": no objects
    EXPECT_EQ(config_.ObjectCount(), 0);
}

TEST_F(PelmarDocumentTest, PriorityProtocol)
{
    struct Case {
        PelmarPriority before;
        const char *revur;
        PelmarPriority after;
    };
    using P = PelmarPriority;
    const Case cases[] = {
        {P::Ethernet, R"({"gprs":{"prior":1},"eth":{"prior":0}})", P::Gprs},
        {P::Gprs, R"({"gprs":{"prior":0},"eth":{"prior":1}})", P::Ethernet},
        {P::Gprs, R"({"gprs":{"prior":2},"eth":{"prior":1}})", P::Ethernet}, // Ethernet is read last
        {P::Ethernet, R"({"gprs":{"prior":0},"eth":{"prior":0}})", P::None},
        {P::Gprs, R"({"gprs":{},"eth":{}})", P::None},
        {P::Gprs, R"({"eth":{"prior":0}})", P::Gprs}, // no "gprs": its mark stays
        {P::Ethernet, R"({"gprs":{"prior":0}})", P::Ethernet},
        {P::None, R"({})", P::None},
    };
    for (const Case &c : cases) {
        config_.Priority = c.before;
        Load(c.revur);
        EXPECT_EQ(config_.Priority, c.after) << c.revur;
    }
    config_.Priority = P::None;
    const Json v = WritePelmarConfig(config_);
    EXPECT_EQ(v["gprs"]["prior"], 0);
    EXPECT_EQ(v["eth"]["prior"], 0);
}

TEST_F(PelmarDocumentTest, RegistrationServersAndServerUrl)
{
    Load(R"({"gprs":{"en":true,"server":{"fix":true,"url":"srv.example.net:8080"},"regs":[
              {"ip":"10.1.2.3","port":81,"script":"a.example.net/p"},
              {"ip":"10.1.2.4","port":82},
              {"script":"b.example.net/q"},
              {"ip":"1.2.3","script":"c"},
              "not an object"]},
            "eth":{"en":true,"server":{"url":"no-port"},"regs":[
              {"ip":"10.9.9.9","port":90},
              {"ip":"10.9.9.8","port":70000,"script":"d"}]}})");
    EXPECT_TRUE(config_.Gprs.enabled);
    EXPECT_EQ(config_.Gprs.server.address, "srv.example.net");
    EXPECT_EQ(config_.Gprs.server.port, 8080);
    EXPECT_TRUE(config_.Gprs.server.fixed);
    // GPRS skips rows without "script"; port 80 and 0.0.0.0 when absent or malformed.
    EXPECT_EQ(
        config_.Gprs.regs,
        (TRegServerList{{0x0A010203U, 81, "a.example.net/p"}, {0, 80, "b.example.net/q"}, {0, 80, "c"}}));
    // Ethernet takes them with an empty URL.
    EXPECT_EQ(config_.Ethernet.regs, (TRegServerList{{0x0A090909U, 90, ""}, {0x0A090908U, 65535, "d"}}));
    // A URL without a colon is all address; the port stays.
    EXPECT_EQ(config_.Ethernet.server.address, "no-port");
    EXPECT_EQ(config_.Ethernet.server.port, 1);

    Load(R"({"gprs":{"en":true}})"); // no "regs": the list stays
    EXPECT_EQ(config_.Gprs.regs.size(), 3u);
    Load(R"({"gprs":{"regs":[]}})");
    EXPECT_TRUE(config_.Gprs.regs.empty());
}

TEST_F(PelmarDocumentTest, WebLogin)
{
    config_.Web = {false, "admin", "secret", 81};
    Load(R"({"web":{"en":true}})"); // no "login": user and password stay
    EXPECT_EQ(config_.Web.user, "admin");
    EXPECT_EQ(config_.Web.password, "secret");
    EXPECT_EQ(config_.Web.port, 80);
    EXPECT_TRUE(config_.Web.enabled);

    Load(R"({"web":{"port":8000,"login":"bm9jb2xvbg=="}})"); // "nocolon"
    EXPECT_EQ(config_.Web.user, "admin");
    EXPECT_EQ(config_.Web.port, 8000);
    EXPECT_FALSE(config_.Web.enabled);

    Load(R"({"web":{"login":"  yOLg7Trv4PDu6/w=  "}})");
    EXPECT_EQ(config_.Web.user, "Иван");
    EXPECT_EQ(config_.Web.password, "пароль");

    // A blank user name writes no login at all.
    config_.Web.user = "  ";
    EXPECT_FALSE(WritePelmarConfig(config_)["web"].contains("login"));
}

TEST_F(PelmarDocumentTest, DetectorModule)
{
    Load(R"({"det":{"en":true,"id":4100,"app_id":65000,
              "dirs":[{"name":"Север"},{},5,{"name":"Юг"}],
              "bods":[{"lanes":[{}]},{"num":3,"name":"Третий","distance":-20,"lanes":[{"num":5,"dir":3},{"dir":-1}]},
                      {"name":"Без номера"},"x"]}})");
    EXPECT_TRUE(config_.DetectorEnabled);
    EXPECT_EQ(config_.DetectorName, ""); // no "name": empty
    EXPECT_EQ(config_.Ids.DetectorId(), 4100);
    EXPECT_EQ(config_.Ids.AppDetectorId(), 65000);
    const TSensorsSettings &s = config_.Sensors;
    ASSERT_EQ(s.TrendCount(), 3);
    EXPECT_EQ(s.Trend(1)->Name(), "Новое направление");
    EXPECT_EQ(s.Trend(2)->Name(), "Юг");

    const auto bods = s.BodsByNumber();
    ASSERT_EQ(bods.size(), 3u);
    EXPECT_EQ(bods[0]->Name(), "БОД");
    EXPECT_EQ(bods[0]->Number(), 0);
    EXPECT_EQ(bods[0]->SensorCount(), 1);
    EXPECT_EQ(bods[1]->Name(), "Без номера");
    EXPECT_EQ(bods[1]->Number(), 1); // numbered like a new BOD: 0 and 3 are taken
    EXPECT_EQ(bods[2]->Number(), 3);
    EXPECT_EQ(bods[2]->Distance(), -20);
    ASSERT_EQ(bods[2]->SensorCount(), 2);
    EXPECT_EQ(bods[2]->Sensor(0)->Number(), 4);
    EXPECT_EQ(bods[2]->Sensor(0)->Direction(), s.Trend(2));
    EXPECT_EQ(bods[2]->Sensor(1)->Number(), 0); // first free
    EXPECT_EQ(bods[2]->Sensor(1)->Direction(), nullptr);

    Load(R"({"det":{}})"); // lists replaced by nothing
    EXPECT_EQ(config_.Sensors.BodCount(), 0);
    EXPECT_EQ(config_.Sensors.TrendCount(), 0);
    EXPECT_FALSE(config_.DetectorEnabled);
}

TEST_F(PelmarDocumentTest, TimeZoneAndGeo)
{
    Load(R"({"geo":{"en":true,"tz":-300,"tzname":"(UTC-05:00) America/New_York"}})");
    EXPECT_TRUE(config_.UseGpsTime);
    ASSERT_TRUE(config_.TimeZone);
    EXPECT_EQ(config_.TimeZone->offsetMinutes, -300);
    EXPECT_EQ(config_.TimeZone->displayName, "(UTC-05:00) America/New_York");

    for (const char *partial : {R"({"geo":{"tz":60}})", R"({"geo":{"tzname":"(UTC+01:00) X"}})",
                                R"({"geo":{"tz":"60","tzname":"(UTC+01:00) X"}})"}) {
        Load(partial);
        EXPECT_EQ(config_.TimeZone->offsetMinutes, -300) << partial;
        EXPECT_FALSE(config_.UseGpsTime) << partial; // "en" absent: off
    }
}

TEST_F(PelmarDocumentTest, NumbersAreBroughtIntoRangeAndWrongKindsCountAsAbsent)
{
    config_.TimeSource = 1;
    Load(R"({"tmin":70000,"tmax":-5,"time_interval":12.9,"time_source":5,"door":1,"id":"7","max_packet":1e9,
             "name":42,"gprs":[],"so":{},"web":{"port":-1,"en":"yes"},"det":{"bods":{},"dirs":null}})");
    EXPECT_EQ(config_.MinConnectionTime, 65535);
    EXPECT_EQ(config_.MaxConnectionTime, 0);
    EXPECT_EQ(config_.TimeCorrectionInterval, 12);
    EXPECT_EQ(config_.TimeSource, 1); // no such source: unchanged
    EXPECT_TRUE(config_.Door);
    EXPECT_EQ(config_.Ids.DeviceId(), 2001);
    EXPECT_EQ(config_.MaxPacketSize, 65535);
    EXPECT_EQ(config_.Name, "");
    EXPECT_FALSE(config_.Gprs.enabled);
    EXPECT_EQ(config_.ObjectCount(), 0);
    EXPECT_EQ(config_.Web.port, 0);
    EXPECT_FALSE(config_.Web.enabled);
}

TEST_F(PelmarDocumentTest, UnreadableMemberStopsTheReadAndNamesIt)
{
    struct Case {
        const char *revur;
        const char *path;
        const char *what;
    };
    // Each document has "name" before the bad member and "web" after it.
    const Case cases[] = {
        {R"({"name":"A","gprs":{"server":{"url":"host:80a"}},"web":{"en":true}})", "«revur.gprs.server.url»",
         "номер порта «80a» не является целым числом"},
        {R"({"name":"A","eth":{"server":{"url":"host:"}},"web":{"en":true}})", "«revur.eth.server.url»",
         "номер порта «» не является целым числом"},
        {R"({"name":"A","gprs":{"server":{"url":"a:b:8"}},"web":{"en":true}})", "«revur.gprs.server.url»",
         "номер порта «b:8» не является целым числом"},
        {R"({"name":"A","eth":{"regs":[{"ip":"1.2.3.4"},{"ip":"10.x.0.1"}]},"web":{"en":true}})",
         "«revur.eth.regs[1].ip»", "часть адреса «x» не является числом от 0 до 255"},
        {R"({"name":"A","gprs":{"regs":[{"ip":"1.2.3.999","script":""}]},"web":{"en":true}})",
         "«revur.gprs.regs[0].ip»", "часть адреса «999»"},
        {R"({"name":"A","det":{"dirs":[{}],"bods":[{"lanes":[{"dir":1},{"dir":2}]}]},"web":{"en":true}})",
         "«revur.det.bods[0].lanes[1].dir»", "направления 2 нет, в списке направлений 1"},
        {R"({"name":"A","web":{"en":true,"login":"***"}})", "«revur.web.login»", "не в кодировке Base64"},
    };
    for (const Case &c : cases) {
        config_.Name = "before";
        config_.Web.enabled = false;
        const std::string error = LoadFails(c.revur);
        EXPECT_NE(error.find(c.path), std::string::npos) << error;
        EXPECT_NE(error.find(c.what), std::string::npos) << error;
        EXPECT_EQ(config_.Name, "A") << "read before the bad member stays: " << c.revur;
        if (std::string(c.path) != "«revur.web.login»") {
            EXPECT_FALSE(config_.Web.enabled) << "not read after it: " << c.revur;
        }
    }
    EXPECT_EQ(LoadFails(cases[0].revur),
              "Некорректное значение «revur.gprs.server.url» (\"host:80a\"): номер порта «80a» не является "
              "целым числом.");

    // The part of a list read before the bad element stays.
    LoadFails(R"({"eth":{"regs":[{"ip":"1.2.3.4"},{"ip":"1..2.3"}]}})");
    EXPECT_EQ(config_.Ethernet.regs, (TRegServerList{{0x01020304U, 80, ""}}));

    std::string tooMany = R"({"so":[)";
    for (int i = 0; i < 256; ++i)
        tooMany += i ? ",{}" : "{}";
    tooMany += "]}";
    EXPECT_NE(LoadFails(tooMany.c_str()).find("допускается не более 255"), std::string::npos);
}

} // namespace
