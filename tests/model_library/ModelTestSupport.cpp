#include "ModelTestSupport.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vantor::model::test {

std::string ReadTestData(const std::string &name)
{
    const std::string path = std::string(VANTOR_MODEL_TEST_DATA) + "/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Compact(std::string_view json)
{
    std::string out;
    out.reserve(json.size());
    bool inString = false;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            out += c;
            if (c == '\\' && i + 1 < json.size())
                out += json[++i];
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
            out += c;
        } else if (static_cast<unsigned char>(c) > 32) {
            out += c;
        }
    }
    return out;
}

namespace {

template <typename T>
std::string List(const std::vector<T> &values)
{
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i)
        out += (i ? "," : "") + std::to_string(values[i]);
    return out + "]";
}

} // namespace

std::string DumpConfig(const ModelClass &model)
{
    std::ostringstream out;
    out << "status " << model.status << "\n";
    for (const auto &promtact : model.promtacts) {
        out << "promtact";
        for (const auto &tact : promtact.tacts)
            out << " " << tact.sec << ":" << int(tact.val);
        out << "\n";
    }
    for (const auto &trigger : model.triggers) {
        out << "trigger " << int(trigger.number) << " log " << int(trigger.log) << " not " << trigger.negate
            << " src " << int(trigger.src) << " res " << List(trigger.resArgs) << " args";
        for (const auto &arg : trigger.args) {
            out << " [";
            for (auto v : arg.values)
                out << int(v) << ",";
            for (auto f : arg.flags)
                out << f;
            out << "]";
        }
        out << " dirs " << (trigger.dirs == &model.dirs) << " sos " << (trigger.sos == &model.sos) << "\n";
    }
    out << "dirs " << model.dirs.TminG << " " << model.dirs.TminR << " " << model.dirs.Takk << "\n";
    for (const auto &dir : model.dirs.dirs) {
        const auto promtactNumber = [&](const PromtactClass *p) {
            return p ? static_cast<int>(p - model.promtacts.data()) + 1 : 0;
        };
        out << "dir " << dir.TminG << " " << dir.TminR << " " << dir.Takk << " prior " << int(dir.prior)
            << " prio " << int(dir.prio) << " R2G " << promtactNumber(dir.R2G) << " G2R "
            << promtactNumber(dir.G2R) << " conflicts";
        for (const auto &c : dir.conflicts)
            out << " " << int(c.kind) << "/" << int(c.dir) << "/" << c.time;
        out << "\n";
    }
    for (const auto &type : model.sigGroupTypes) {
        out << "type " << int(type.type) << " in " << int(type.inLength) << " out " << List(type.defaults)
            << " states " << int(type.stateCount) << " ";
        for (auto b : type.states)
            out << int(static_cast<std::int8_t>(b)) << ",";
        out << "\n";
    }
    for (const auto &group : model.sigGroups) {
        out << "group type "
            << (group.type ? static_cast<int>(group.type - model.sigGroupTypes.data()) + 1 : 0) << " sources "
            << List(group.sources) << " outputs " << List(group.outputs) << " trig " << group.trigCount
            << "\n";
    }
    for (const auto &so : model.sos.objects) {
        out << "so loaded " << so.loaded << " enter " << int(so.enterMode) << "/" << int(so.enterNumber)
            << " dirs " << List(so.dirs) << " triggers " << (so.triggers == &model.triggers) << "\n";
        for (const auto &phase : so.phases) {
            out << " phase " << int(phase.number) << " " << phase.Tmin << " " << phase.Takk;
            for (const auto &e : phase.entries)
                out << " " << int(e.cmd) << "/" << e.time << "/" << e.ext << "/" << int(e.mode) << "/"
                    << int(e.trig) << "/" << int(e.prio);
            out << "\n";
        }
        for (const auto &cycle : so.cycles) {
            out << " cycle " << int(cycle.number) << " T " << cycle.T;
            for (const auto &s : cycle.steps)
                out << " " << int(s.phase) << "/" << s.start << "/" << s.min << "/" << s.ext << "/"
                    << int(s.kind) << "/" << int(s.trig);
            out << "\n";
        }
        for (const auto &plan : so.dayPlans) {
            out << " day " << int(plan.number);
            for (const auto &e : plan.entries)
                out << " " << int(e.hour) << ":" << int(e.minute) << "/" << int(e.mode) << "/"
                    << int(e.number);
            out << "\n";
        }
        for (const auto &plan : so.weekPlans) {
            out << " week " << int(plan.number);
            for (const auto &e : plan.entries)
                out << " " << int(e.weekday) << "/" << int(e.mode) << "/" << int(e.number);
            out << "\n";
        }
        for (const auto &plan : so.yearPlans) {
            out << " year " << int(plan.number);
            for (const auto &e : plan.entries)
                out << " " << e.key << "/" << int(e.mode) << "/" << int(e.number);
            out << "\n";
        }
    }
    return out.str();
}

} // namespace vantor::model::test
