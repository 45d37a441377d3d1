// The "revur" document writer. Member order is the device's: devices and stored files
// compare documents byte for byte.
#include "devices/pelmar/PelmarConfig.h"
#include "devices/pelmar/PelmarDocument.h"
#include "devices/pelmar/WebLogin.h"

#include <algorithm>

namespace vantor {
namespace {

using json::Json;

bool IsBlank(const std::string &text)
{
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return c <= ' '; });
}

Json Server(const PelmarServer &server)
{
    return Json{{"fix", server.fixed}, {"url", server.address + ':' + std::to_string(server.port)}};
}

Json Regs(const TRegServerList &regs)
{
    Json rows = Json::array();
    for (const TRegServer &reg : regs)
        rows.push_back(Json{{"ip", FormatIPv4(reg.ip)}, {"port", reg.port}, {"script", reg.url}});
    return rows;
}

Json Gprs(const PelmarConfig &c)
{
    const PelmarGprs &g = c.Gprs;
    Json gprs = Json::object();
    gprs["en"] = g.enabled;
    gprs["prior"] = c.Priority == PelmarPriority::Gprs ? 1 : 0;
    gprs["apn"] = g.apn;
    gprs["pin"] = g.pin;
    gprs["user"] = g.user;
    gprs["psw"] = g.password;
    gprs["server"] = Server(g.server);
    gprs["regs"] = Regs(g.regs);
    return gprs;
}

Json Ethernet(const PelmarConfig &c)
{
    const PelmarEthernet &e = c.Ethernet;
    Json eth = Json::object();
    eth["en"] = e.enabled;
    eth["prior"] = c.Priority == PelmarPriority::Ethernet ? 1 : 0;
    eth["ping"] = e.ping;
    eth["dhcp"] = e.dhcp;
    eth["mac"] = e.mac;
    eth["ip"] = e.ip;
    eth["gate"] = e.gate;
    eth["mask"] = e.mask;
    eth["server"] = Server(e.server);
    eth["regs"] = Regs(e.regs);
    return eth;
}

Json Objects(const PelmarConfig &c)
{
    Json so = Json::array();
    for (int i = 0; i < c.ObjectCount(); ++i) {
        const PelmarObjectPage &page = c.Object(i);
        Json object = Json::object();
        object["en"] = page.enabled;
        object["name"] = page.name;
        object["id"] = c.ObjectId(i);
        object["du_time"] = page.holdTime;
        object["phase_change_messages"] = page.phaseChangeMessages;
        so.push_back(std::move(object));
    }
    return so;
}

Json Detector(const PelmarConfig &c)
{
    const TSensorsSettings &s = c.Sensors;
    Json det = Json::object();
    det["en"] = c.DetectorEnabled;
    det["name"] = c.DetectorName;
    det["id"] = c.Ids.DetectorId();
    det["app_id"] = c.Ids.AppDetectorId();
    Json dirs = Json::array();
    for (int i = 0; i < s.TrendCount(); ++i)
        dirs.push_back(Json{{"name", s.Trend(i)->Name()}});
    det["dirs"] = std::move(dirs);
    Json bods = Json::array();
    for (const TBOD *bod : s.BodsByNumber()) {
        Json lanes = Json::array();
        for (int i = 0; i < bod->SensorCount(); ++i) {
            const TSensor *sensor = bod->Sensor(i);
            // Directions by 1-based position; 0 is none.
            lanes.push_back(Json{{"num", sensor->Number() + 1}, {"dir", s.IndexOf(sensor->Direction()) + 1}});
        }
        Json object = Json::object();
        object["name"] = bod->Name();
        object["num"] = bod->Number();
        object["lanes"] = std::move(lanes);
        object["distance"] = bod->Distance();
        bods.push_back(std::move(object));
    }
    det["bods"] = std::move(bods);
    return det;
}

Json Web(const PelmarWeb &w)
{
    Json web = Json::object();
    web["en"] = w.enabled;
    web["port"] = w.port;
    if (!IsBlank(w.user))
        web["login"] = EncodeWebLogin(w.user, w.password);
    return web;
}

} // namespace

json::Json WritePelmarConfig(const PelmarConfig &c)
{
    Json v = Json::object();
    v["en"] = true;
    v["name"] = c.Name;
    v["sid"] = c.Sid;
    v["oid"] = c.Oid;
    v["id"] = c.Ids.DeviceId();
    v["utcs_id"] = c.Ids.AppObjectsId();
    v["time_interval"] = c.TimeCorrectionInterval;
    v["time_source"] = c.TimeSource;
    v["tmax"] = c.MaxConnectionTime;
    v["tmin"] = c.MinConnectionTime;
    v["door"] = c.Door;
    Json geo = Json::object();
    geo["en"] = c.UseGpsTime;
    if (c.TimeZone) {
        geo["tz"] = c.TimeZone->offsetMinutes;
        geo["tzname"] = c.TimeZone->displayName;
    }
    v["geo"] = std::move(geo);
    v["gprs"] = Gprs(c);
    v["eth"] = Ethernet(c);
    v["so"] = Objects(c);
    v["det"] = Detector(c);
    v["web"] = Web(c.Web);
    // Not read by devices (they ignore unknown members); kept so that a saved file
    // gives the value back.
    v["max_packet"] = c.MaxPacketSize;
    return v;
}

json::Json GetConfigJson(const PelmarConfig &config)
{
    Json root = Json::object();
    root[kPelmarRootKey] = WritePelmarConfig(config);
    return root;
}

} // namespace vantor
