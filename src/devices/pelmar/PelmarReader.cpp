// The "revur" document reader. Members are read in a fixed order, each applied onto
// the configuration as it is read, so a member that cannot be read leaves everything
// before it in place. Values of the wrong JSON kind count as absent; numbers are
// brought into the range of their field.
#include "devices/DocumentValues.h"
#include "devices/pelmar/PelmarConfig.h"
#include "devices/pelmar/PelmarDocument.h"
#include "devices/pelmar/WebLogin.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace vantor {
namespace {

using json::Json;

const Json *Member(const Json *object, const char *key)
{
    if (!object || !object->is_object())
        return nullptr;
    const auto it = object->find(key);
    return it == object->end() ? nullptr : &*it;
}

// A number (a boolean counts as 0 or 1), truncated towards zero; nothing otherwise.
std::optional<long long> Integer(const Json *value)
{
    if (!value)
        return std::nullopt;
    if (value->is_number_integer())
        return value->get<long long>();
    if (value->is_number_unsigned())
        return static_cast<long long>(std::min<unsigned long long>(value->get<unsigned long long>(),
                                                                   std::numeric_limits<long long>::max()));
    if (value->is_number_float()) {
        const double number = std::trunc(value->get<double>());
        if (std::isnan(number))
            return std::nullopt;
        return static_cast<long long>(std::clamp(number, -9.2e18, 9.2e18));
    }
    if (value->is_boolean())
        return value->get<bool>() ? 1 : 0;
    return std::nullopt;
}

template <class T>
bool ReadInt(const Json *value, T &field, long long low = std::numeric_limits<T>::min(),
             long long high = std::numeric_limits<T>::max())
{
    const auto number = Integer(value);
    if (!number)
        return false;
    field = static_cast<T>(std::clamp<long long>(*number, low, high));
    return true;
}

std::optional<bool> Boolean(const Json *value)
{
    if (value && value->is_boolean())
        return value->get<bool>();
    if (value && value->is_number())
        return Integer(value).value_or(0) != 0;
    return std::nullopt;
}

void ReadBool(const Json *value, bool &field)
{
    if (const auto flag = Boolean(value))
        field = *flag;
}

// Switches that count as off when absent.
bool FlagOrOff(const Json *value)
{
    return Boolean(value).value_or(false);
}

void ReadText(const Json *value, std::string &field)
{
    if (value && value->is_string())
        field = value->get<std::string>();
}

// A member that must be an object to count: anything else is taken as absent.
const Json *ObjectMember(const Json *object, const char *key)
{
    const Json *value = Member(object, key);
    return value && value->is_object() ? value : nullptr;
}

std::string TextOrEmpty(const Json *value)
{
    return value && value->is_string() ? value->get<std::string>() : std::string();
}

std::string Quoted(const std::string &text)
{
    return "«" + text + "»";
}

class PelmarReader {
public:
    PelmarReader(PelmarConfig &config, const Json &revur) : c_(config), v_(&revur) {}

    void Read()
    {
        c_.SetObjectCount(0);
        c_.Ids.Reset();

        ReadText(Member(v_, "name"), c_.Name);
        ReadText(Member(v_, "sid"), c_.Sid);
        ReadText(Member(v_, "oid"), c_.Oid);
        ReadInt(Member(v_, "time_interval"), c_.TimeCorrectionInterval);
        if (const auto source = Integer(Member(v_, "time_source"));
            source && *source >= 0 && *source < PelmarConfig::kTimeSourceCount)
            c_.TimeSource = static_cast<int>(*source);
        ReadInt(Member(v_, "tmax"), c_.MaxConnectionTime);
        ReadInt(Member(v_, "tmin"), c_.MinConnectionTime);
        ReadBool(Member(v_, "door"), c_.Door);
        std::uint16_t id = 0;
        if (ReadInt(Member(v_, "id"), id))
            c_.Ids.SetDeviceId(id);
        if (ReadInt(Member(v_, "utcs_id"), id))
            c_.Ids.SetAppObjectsId(id);
        ReadGeo();
        ReadGprs();
        ReadEthernet();
        ReadObjects();
        ReadDetector();
        ReadWeb();
        ReadInt(Member(v_, "max_packet"), c_.MaxPacketSize);
    }

private:
    // Stops the read at a value that cannot be used; the message names the member
    // ("revur.gprs.server.url"), shows the value and says what is wrong with it.
    [[noreturn]] static void Fail(const std::string &path, const Json &value, const std::string &what)
    {
        throw devices::EBadValue(std::string(kPelmarRootKey) + "." + path, value,
                                 QString::fromStdString(what));
    }

    void ReadGeo()
    {
        const Json *geo = ObjectMember(v_, "geo");
        if (!geo)
            return;
        c_.UseGpsTime = FlagOrOff(Member(geo, "en"));
        const auto tz = Integer(Member(geo, "tz"));
        const Json *name = Member(geo, "tzname");
        if (tz && name && name->is_string())
            c_.TimeZone = ConfigTimeZone{
                static_cast<std::int32_t>(std::clamp<long long>(*tz, std::numeric_limits<std::int32_t>::min(),
                                                                std::numeric_limits<std::int32_t>::max())),
                name->get<std::string>()};
    }

    // "prior" above 0 makes the protocol the priority one; otherwise a protocol that
    // was the priority one no longer is (so neither may be).
    void ReadPriority(const Json *protocol, PelmarPriority which)
    {
        if (Integer(Member(protocol, "prior")).value_or(0) > 0)
            c_.Priority = which;
        else if (c_.Priority == which)
            c_.Priority = PelmarPriority::None;
    }

    // "url" is "<address>:<port>", split at the first colon; a text without a colon
    // is all address.
    void ReadServer(const Json *protocol, PelmarServer &server, const std::string &path)
    {
        const Json *object = ObjectMember(protocol, "server");
        if (!object)
            return;
        ReadBool(Member(object, "fix"), server.fixed);
        const Json *url = Member(object, "url");
        if (!url || !url->is_string())
            return;
        const std::string text = url->get<std::string>();
        const auto colon = text.find(':');
        server.address = text.substr(0, colon);
        if (colon == std::string::npos)
            return;
        const std::string portText = text.substr(colon + 1);
        long long port = 0;
        const auto [end, error] = std::from_chars(portText.data(), portText.data() + portText.size(), port);
        if (portText.empty() || error != std::errc() || end != portText.data() + portText.size())
            Fail(path + ".server.url", *url, "номер порта " + Quoted(portText) + " не является целым числом");
        server.port = static_cast<std::uint16_t>(std::clamp<long long>(port, 1, 65535));
    }

    // withoutScript: whether a row without "script" is taken (with an empty URL).
    void ReadRegs(const Json *protocol, TRegServerList &regs, bool withoutScript, const std::string &path)
    {
        const Json *array = Member(protocol, "regs");
        if (!array || !array->is_array())
            return;
        regs.clear();
        for (std::size_t i = 0; i < array->size(); ++i) {
            const Json &element = (*array)[i];
            const Json *script = Member(&element, "script");
            if (!element.is_object() || (!script && !withoutScript))
                continue;
            TRegServer reg;
            reg.url = TextOrEmpty(script);
            reg.port = TRegServer::kDefaultPort;
            ReadInt(Member(&element, "port"), reg.port);
            if (const Json *ip = Member(&element, "ip"); ip && ip->is_string()) {
                const IPv4Text address = ParseIPv4(ip->get<std::string>());
                if (address.badPart)
                    Fail(path + ".regs[" + std::to_string(i) + "].ip", *ip,
                         "часть адреса " + Quoted(*address.badPart) + " не является числом от 0 до 255");
                reg.ip = address.address;
            }
            regs.push_back(std::move(reg));
        }
    }

    void ReadGprs()
    {
        const Json *gprs = ObjectMember(v_, "gprs");
        PelmarGprs &g = c_.Gprs;
        g.enabled = FlagOrOff(Member(gprs, "en"));
        if (!gprs)
            return;
        ReadPriority(gprs, PelmarPriority::Gprs);
        ReadText(Member(gprs, "apn"), g.apn);
        ReadText(Member(gprs, "pin"), g.pin);
        ReadText(Member(gprs, "user"), g.user);
        ReadText(Member(gprs, "psw"), g.password);
        ReadServer(gprs, g.server, "gprs");
        ReadRegs(gprs, g.regs, false, "gprs");
    }

    void ReadEthernet()
    {
        const Json *eth = ObjectMember(v_, "eth");
        PelmarEthernet &e = c_.Ethernet;
        e.enabled = FlagOrOff(Member(eth, "en"));
        if (!eth)
            return;
        ReadPriority(eth, PelmarPriority::Ethernet);
        ReadBool(Member(eth, "ping"), e.ping);
        ReadBool(Member(eth, "dhcp"), e.dhcp);
        ReadText(Member(eth, "mac"), e.mac);
        ReadText(Member(eth, "ip"), e.ip);
        ReadText(Member(eth, "gate"), e.gate);
        ReadText(Member(eth, "mask"), e.mask);
        ReadServer(eth, e.server, "eth");
        ReadRegs(eth, e.regs, true, "eth");
    }

    void ReadObjects()
    {
        const Json *so = Member(v_, "so");
        if (!so || !so->is_array())
            return;
        if (so->size() > static_cast<std::size_t>(PelmarConfig::kMaxObjects))
            Fail("so", *so,
                 "объектов " + std::to_string(so->size()) + ", а допускается не более " +
                     std::to_string(PelmarConfig::kMaxObjects));
        c_.SetObjectCount(static_cast<int>(so->size()));
        for (int i = 0; i < c_.ObjectCount(); ++i) {
            const Json &element = (*so)[static_cast<std::size_t>(i)];
            if (!element.is_object())
                continue;
            PelmarObjectPage &page = c_.Object(i);
            page.enabled = FlagOrOff(Member(&element, "en"));
            std::uint16_t id = 0;
            if (ReadInt(Member(&element, "id"), id))
                c_.SetObjectId(i, id);
            ReadInt(Member(&element, "du_time"), page.holdTime);
            page.name = TextOrEmpty(Member(&element, "name"));
            page.phaseChangeMessages = FlagOrOff(Member(&element, "phase_change_messages"));
        }
    }

    void ReadDetector()
    {
        const Json *det = ObjectMember(v_, "det");
        c_.DetectorEnabled = FlagOrOff(Member(det, "en"));
        if (!det)
            return;
        c_.DetectorName = TextOrEmpty(Member(det, "name"));
        std::uint16_t id = 0;
        if (ReadInt(Member(det, "id"), id))
            c_.Ids.SetDetectorId(id);
        if (ReadInt(Member(det, "app_id"), id))
            c_.Ids.SetAppDetectorId(id);

        TSensorsSettings &s = c_.Sensors;
        s.Reset();
        if (const Json *dirs = Member(det, "dirs"); dirs && dirs->is_array())
            for (const Json &element : *dirs)
                if (element.is_object()) {
                    TSensorTrend *trend = s.AddTrend();
                    if (const Json *name = Member(&element, "name"); name && name->is_string())
                        trend->SetName(name->get<std::string>());
                }
        const Json *bods = Member(det, "bods");
        if (!bods || !bods->is_array())
            return;
        for (std::size_t b = 0; b < bods->size(); ++b) {
            const Json &element = (*bods)[b];
            if (!element.is_object())
                continue;
            TBOD *bod = s.AddBod();
            int number = 0;
            if (ReadInt(Member(&element, "num"), number))
                bod->SetNumber(number);
            if (const Json *name = Member(&element, "name"); name && name->is_string())
                bod->SetName(name->get<std::string>());
            std::int16_t distance = 0;
            if (ReadInt(Member(&element, "distance"), distance))
                bod->SetDistance(distance);
            ReadLanes(*bod, Member(&element, "lanes"), "det.bods[" + std::to_string(b) + "].lanes");
        }
    }

    void ReadLanes(TBOD &bod, const Json *lanes, const std::string &path)
    {
        if (!lanes || !lanes->is_array())
            return;
        const TSensorsSettings &s = c_.Sensors;
        for (std::size_t l = 0; l < lanes->size(); ++l) {
            const Json &element = (*lanes)[l];
            if (!element.is_object())
                continue;
            TSensor *sensor = bod.AddSensor();
            if (const auto number = Integer(Member(&element, "num")))
                sensor->SetNumber(static_cast<int>(std::clamp<long long>(
                    *number - 1, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
            const auto dir = Integer(Member(&element, "dir")).value_or(0);
            if (dir <= 0)
                continue;
            if (dir > s.TrendCount())
                Fail(path + "[" + std::to_string(l) + "].dir", *Member(&element, "dir"),
                     "направления " + std::to_string(dir) + " нет, в списке направлений " +
                         std::to_string(s.TrendCount()));
            sensor->SetDirection(s.Trend(static_cast<int>(dir - 1)));
        }
    }

    void ReadWeb()
    {
        const Json *web = ObjectMember(v_, "web");
        PelmarWeb &w = c_.Web;
        w.enabled = FlagOrOff(Member(web, "en"));
        if (!web)
            return;
        w.port = PelmarWeb::kDefaultPort;
        ReadInt(Member(web, "port"), w.port);
        const Json *login = Member(web, "login");
        if (!login || !login->is_string())
            return;
        const DecodedWebLogin decoded = DecodeWebLogin(login->get<std::string>());
        if (decoded.status == DecodedWebLogin::kInvalid)
            Fail("web.login", *login, "текст не в кодировке Base64");
        if (decoded.status != DecodedWebLogin::kOk)
            return;
        w.user = decoded.user;
        w.password = decoded.password;
    }

    PelmarConfig &c_;
    const Json *v_;
};

} // namespace

bool LoadConfigJson(PelmarConfig &config, const json::Json &root, std::string *error)
{
    const Json *revur = Member(&root, kPelmarRootKey);
    if (!revur || !revur->is_object()) {
        if (error)
            *error = devices::BadConfigurationText().toStdString();
        return false;
    }
    try {
        PelmarReader(config, *revur).Read();
    } catch (const devices::EBadValue &failure) {
        if (error)
            *error = failure.Text().toStdString();
        return false;
    }
    return true;
}

} // namespace vantor
