// The task queue and the tasks, driven by packets fed to the connection through a fake
// transport that records what the host sends.
#include "link/Packet.h"
#include "programming/pr_collector.h"

#include "EventLoopWait.h"

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::programming;
using link::MakePacket;

namespace {

class Recorder : public link::TprDataProvider {
public:
    Recorder(link::TDAO &owner, std::vector<Bytes> *sent) : TprDataProvider(owner), sent_(sent) {}
    bool Connect(QString *) override { return true; }
    void Disconnect() override {}
    void Send(const std::uint8_t *bytes, std::size_t length) override
    {
        sent_->emplace_back(bytes, bytes + length);
    }

private:
    std::vector<Bytes> *sent_;
};

struct Queue {
    explicit Queue(int type = link::kConnectSerial)
        : collector(type, [this](link::TDAO &owner) { return std::make_unique<Recorder>(owner, &sent); })
    {
        collector.OnMessage = [this](const QString &text) { messages.push_back(text); };
        collector.OnQueueStarted = [this] { ++started; };
        collector.OnQueueFinished = [this] { ++finished; };
        collector.Connect();
        Feed(Poll()); // the first bytes make the connection usable
        sent.clear();
    }
    static Bytes Poll() { return Bytes(link::PollPacket(), link::PollPacket() + link::kPollPacketSize); }
    void Feed(const Bytes &packet) { collector.Connection().OnData(packet.data(), packet.size()); }
    // Payload of the last request the host sent.
    Bytes LastPayload() const { return Bytes(sent.back().begin() + 9, sent.back().end() - 1); }

    std::vector<Bytes> sent;
    TTaskCollector collector;
    std::vector<QString> messages;
    int started = 0;
    int finished = 0;
};

Bytes U32s(std::initializer_list<std::uint32_t> values, std::initializer_list<std::uint8_t> tail = {})
{
    Bytes out;
    for (std::uint32_t v : values)
        link::AppendU32(out, v);
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

} // namespace

TEST(TaskQueue, PollsAreEchoedWhileTheQueueIsEmpty)
{
    Queue q;
    q.Feed(Queue::Poll());
    q.Feed(Queue::Poll());
    ASSERT_EQ(q.sent.size(), 2u);
    EXPECT_EQ(q.sent[0], Queue::Poll());
    EXPECT_EQ(q.collector.State(), link::kStateConnected);
}

TEST(TaskQueue, RetriesRunOutOnlyAfterMoreThanFiveRequests)
{
    Queue q;
    std::vector<std::uint8_t> states;
    q.collector.AddTask(std::make_unique<TGetPackMaxSizeTask>(),
                        [&](TProgTask &, std::uint8_t s, QString &) { states.push_back(s); });
    EXPECT_EQ(q.messages.back(), QStringLiteral("Запуск: запрос максимального размера пакета..."));
    const Bytes other = MakePacket(6, {'1', 0});
    for (int i = 0; i < 5; ++i) {
        q.Feed(Queue::Poll());
        q.Feed(other); // an answer to something else: tolerated while requested at most five times
    }
    EXPECT_EQ(q.sent.size(), 5u);
    EXPECT_EQ(q.sent.back(), MakePacket(3, {}));
    EXPECT_EQ(states, (std::vector<std::uint8_t>{kTaskRunning}));
    q.Feed(Queue::Poll());        // the sixth request
    EXPECT_EQ(states.size(), 1u); // polls alone never fail a task
    q.Feed(other);
    EXPECT_EQ(states.back(), kTaskFailed);
    EXPECT_EQ(
        q.messages.back(),
        QStringLiteral(
            "Ошибка: истекло количество попыток выполнить команду (запрос максимального размера пакета)."));
    EXPECT_EQ(q.collector.LastResult(), kTaskFailed);
    EXPECT_EQ(q.collector.TaskCount(), 0u);
}

TEST(TaskQueue, ThreeTasksStartInTurnAndFinishTheQueueOnce)
{
    Queue q;
    std::vector<QString> order;
    for (int i = 0; i < 3; ++i)
        q.collector.AddTask(std::make_unique<TGetSerialTask>(),
                            [&, i](TProgTask &, std::uint8_t s, QString &m) {
                                if (s == kTaskDone)
                                    order.push_back(QString::number(i) + m);
                            });
    EXPECT_EQ(q.started, 1);
    EXPECT_TRUE(q.messages.back().startsWith(QStringLiteral("Запуск: ")));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(q.finished, 0);
        q.Feed(Queue::Poll());
        EXPECT_EQ(q.sent.back(), MakePacket(6, {}));
        q.Feed(MakePacket(6, {'7', '7', 0, 'x'}));
    }
    EXPECT_EQ(q.finished, 1);
    EXPECT_EQ(order, (std::vector<QString>{"0Готово: чтение серийного номера устройства.",
                                           "1Готово: чтение серийного номера устройства.",
                                           "2Готово: чтение серийного номера устройства."}));
    q.Feed(Queue::Poll());
    EXPECT_EQ(q.sent.back(), Queue::Poll());
}

TEST(TaskQueue, ChunksNeverCrossAPackBoundaryAndAbortDropsTheRestSilently)
{
    Queue q;
    auto data = std::make_shared<const Bytes>(3000, 0x5A);
    std::vector<std::int64_t> progress;
    int callbacks = 0;
    TProgTask *task = q.collector.AddTask(
        std::make_unique<TWriteTask>(7, QStringLiteral("Запись конфигурации"), 1000, data, 0, 3000, 1024),
        [&](TProgTask &, std::uint8_t, QString &) { ++callbacks; });
    task->OnProgress = [&](TProgTask &, int, std::int64_t position, std::int64_t total) {
        EXPECT_EQ(total, 3000);
        progress.push_back(position);
    };
    std::vector<std::uint32_t> lengths;
    std::uint32_t address = 1000;
    while (q.collector.CurrentTask()) {
        q.Feed(Queue::Poll());
        const Bytes payload = q.LastPayload();
        ASSERT_EQ(link::ReadU32(payload.data()), address);
        const std::uint32_t length = link::ReadU32(payload.data() + 4);
        ASSERT_EQ(payload.size(), 8 + length);
        lengths.push_back(length);
        q.Feed(MakePacket(7, U32s({address, length}, {0})));
        address += length;
    }
    EXPECT_EQ(lengths, (std::vector<std::uint32_t>{24, 1024, 1024, 928}));
    EXPECT_EQ(progress, (std::vector<std::int64_t>{24, 1048, 2072, 3000}));
    EXPECT_EQ(callbacks, 2); // running, done

    // Abort in the middle of a write: the rest is dropped without callbacks.
    int laterCallbacks = 0;
    q.collector.AddTask(std::make_unique<TWriteTask>(7, QStringLiteral("a"), 0, data, 0, 3000, 1024));
    q.collector.AddTask(std::make_unique<TVerifyConfTask>(),
                        [&](TProgTask &, std::uint8_t, QString &) { ++laterCallbacks; });
    q.Feed(Queue::Poll());
    q.Feed(MakePacket(7, U32s({0, 1024}, {0})));
    q.collector.Abort();
    q.Feed(Queue::Poll());
    EXPECT_EQ(q.collector.TaskCount(), 0u);
    EXPECT_EQ(laterCallbacks, 0);
    EXPECT_EQ(q.sent.back(), Queue::Poll()); // nothing left: the poll is echoed
}

TEST(TaskQueue, PackSizeIsCappedAndSelectBySerialCompletesOnTheSecondPoll)
{
    Queue q;
    q.collector.SetPackSize(50000);
    EXPECT_EQ(q.collector.PackSize(), 33801u);
    q.collector.SetPackSize(0);
    EXPECT_EQ(q.collector.PackSize(), 1u);

    TProgTask *select = q.collector.AddTask(std::make_unique<TSendSerialNumberTask>(513));
    q.collector.SendNow(*select);
    EXPECT_EQ(q.sent.back(), MakePacket(15, {0x01, 0x02}));
    q.Feed(Queue::Poll());
    EXPECT_EQ(q.sent.back(), MakePacket(15, {0x01, 0x02}));
    EXPECT_EQ(q.sent.size(), 2u);
    q.Feed(Queue::Poll()); // done now; the poll is still answered
    EXPECT_EQ(q.collector.TaskCount(), 0u);
    EXPECT_EQ(q.sent.size(), 3u);
    EXPECT_EQ(q.messages.back(), QStringLiteral("Готово: проверка серийного номера \"513\"."));
}

TEST(TaskQueue, SilenceEndsTheConnectionWithItsMessage)
{
    Queue q;
    q.collector.SetSilenceTimeout(50);
    std::vector<int> states;
    q.collector.OnConnectionState = [&](std::uint8_t s) { states.push_back(s); };
    q.Feed(Queue::Poll()); // restarts the timer with the new timeout
    ASSERT_TRUE(test::WaitUntil([&] { return q.collector.State() == link::kStateDisconnected; }, 5000));
    EXPECT_EQ(states, (std::vector<int>{2, 3}));
    EXPECT_TRUE(std::find(q.messages.begin(), q.messages.end(),
                          QStringLiteral("Timeout - нет связи либо поток данных неопознан")) !=
                q.messages.end());
}

TEST(Tasks, AnswerCheckingAndMessages)
{
    struct Case {
        const char *name;
        std::function<std::unique_ptr<TProgTask>()> make;
        Bytes answer;
        std::uint8_t state;
        const char *message;
    };
    auto data = std::make_shared<const Bytes>(100, 1);
    auto write = [data] {
        return std::make_unique<TWriteTask>(7, QStringLiteral("w"), 0, data, 0, 100, 1024);
    };
    auto read = [] { return std::make_unique<TReadTask>(QStringLiteral("Чтение конфигурации"), 1024); };
    const Case cases[] = {
        {"write error", write, U32s({0, 100}, {0xFE}), kTaskFailed,
         "ошибка записи (-2): запись 100 байт в адрес 0"},
        {"write address", write, U32s({4, 100}, {0}), kTaskFailed,
         "на команду записи вернулся другой адрес: 4 вместо 0"},
        {"write size", write, U32s({0, 99}, {0}), kTaskFailed,
         "на команду записи вернулся другой размер: 99 вместо 100"},
        {"write short answer", write, U32s({0}), kTaskFailed, "неверный формат ответа устройства (4 байт)"},
        {"verify error", [] { return std::make_unique<TVerifyTask>(QStringLiteral("v"), 16, 32, 7); },
         U32s({16, 32}, {1}), kTaskFailed, "ошибка верификации (1) [32 байт в адрес 16]"},
        {"verify address", [] { return std::make_unique<TVerifyTask>(QStringLiteral("v"), 16, 32, 7); },
         U32s({17, 32}, {0}), kTaskFailed, "на команду верификации вернулся другой адрес: 17 вместо 16"},
        {"verify size", [] { return std::make_unique<TVerifyTask>(QStringLiteral("v"), 16, 32, 7); },
         U32s({16, 31}, {0}), kTaskFailed, "на команду верификации вернулся другой размер: 31 вместо 32"},
        {"entry point",
         [] { return std::make_unique<TSetExecutionPointTask>(0x8000); },
         {3},
         kTaskFailed,
         "ошибка записи точки входа в программу (3)"},
        {"serial write",
         [] { return std::make_unique<TSetSerialNumberTask>(QStringLiteral("A1")); },
         {2},
         kTaskFailed,
         "ошибка записи серийного номера (2)"},
        {"verify conf",
         [] { return std::make_unique<TVerifyConfTask>(); },
         {2},
         kTaskFailed,
         "Ошибка верификации 2"},
        {"no configuration", read, U32s({0, 8}, {0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}), kTaskFailed,
         "Отсутствует файл конфигурации в устройстве"},
        {"configuration too big", read, U32s({0, 4}, {0, 0x00, 0x00, 0x30, 0x00}), kTaskFailed,
         "Некорректный размер файла конфигурации"},
        {"read error", read, U32s({0, 0}, {5}), kTaskFailed,
         "ошибка чтения (5): чтение 1024 байт из адреса 0"},
        {"read address", read, U32s({8, 0}, {0}), kTaskFailed,
         "на команду чтения вернулся другой адрес: 8 вместо 0"},
        {"read claims more than it carries", read, U32s({0, 9}, {0, 1, 0, 0, 0}), kTaskFailed,
         "неверный формат ответа устройства (13 байт)"},
        {"whole image at once", read, U32s({0, 10}, {0, 2, 0, 0, 0, '{', '}', 0xF2, 0x6B, 0xBA, 0x5C}),
         kTaskDone, ""},
        {"verify file index",
         [] { return std::make_unique<TVerifyFileTask>(2, 10, 1); },
         {1, 0},
         kTaskFailed,
         "Сравнивается не тот файл. Ожидаем 3, пришел 2"},
        {"verify file status",
         [] { return std::make_unique<TVerifyFileTask>(2, 10, 1); },
         {2, 1},
         kTaskFailed,
         "Ошибка верификации 1"},
        {"verify file same",
         [] { return std::make_unique<TVerifyFileTask>(2, 10, 1); },
         {2, 0},
         kTaskDone,
         "Контрольная сумма файла 3 совпадает"},
        {"file missing",
         [] { return std::make_unique<TGetFilesizeTask>(1); },
         {1, 0xFF, 0xFF, 0xFF, 0xFF},
         kTaskFailed,
         "Файла с номером 2 не существует"},
        {"file size other index",
         [] { return std::make_unique<TGetFilesizeTask>(1); },
         {0, 9, 0, 0, 0},
         kTaskFailed,
         "Неизвестная ошибка"},
        {"file size", [] { return std::make_unique<TGetFilesizeTask>(1); }, {1, 9, 0, 0, 0}, kTaskDone, ""},
        {"read file offset",
         [] { return std::make_unique<TReadFileTask>(QStringLiteral("r"), 1, 5, 1024); },
         {1, 3, 0, 0, 0, 0, 0, 0, 0},
         kTaskFailed,
         "на команду чтения вернулся другой адрес: 3 вместо 0"},
        {"read file index",
         [] { return std::make_unique<TReadFileTask>(QStringLiteral("r"), 1, 5, 1024); },
         {0, 0, 0, 0, 0, 0, 0, 0, 0},
         kTaskFailed,
         "на команду чтения вернулся другой номер файла: 1 вместо 2"},
        {"pack size zero", [] { return std::make_unique<TGetPackMaxSizeTask>(); }, U32s({0}), kTaskFailed,
         "устройство сообщило нулевой размер пакета"},
    };
    for (const Case &c : cases) {
        auto task = c.make();
        std::uint8_t buffer[kPacketBufferSize];
        ASSERT_GT(BuildPacket(*task, buffer), 0) << c.name;
        const Bytes packet = MakePacket(task->Command(), c.answer);
        QString message;
        EXPECT_EQ(MatchAnswer(*task, packet.data(), packet.size(), &message), c.state) << c.name;
        EXPECT_EQ(message.toStdString(), std::string(c.message)) << c.name;
    }
}

TEST(Tasks, CaptionsRequestsAndUnsentTasks)
{
    TSetExecutionPointTask entry(0x8000);
    EXPECT_EQ(entry.Caption(), QStringLiteral("запись точки входа в программу (00008000)."));
    EXPECT_EQ(TSetSerialNumberTask(QStringLiteral("Ж1")).Caption(),
              QStringLiteral("запись серийного номера \"Ж1\""));
    EXPECT_EQ(TGetFilesizeTask(0).Caption(), QStringLiteral("чтение рамера файла: 1"));
    EXPECT_EQ(TVerifyFileTask(4, 1, 1).Caption(), QStringLiteral("Верификация звукового файла 5"));
    // Not sent yet: answers leave the state alone.
    QString message;
    const Bytes answer = MakePacket(4, {1});
    EXPECT_EQ(MatchAnswer(entry, answer.data(), answer.size(), &message), kTaskQueued);

    std::uint8_t buffer[kPacketBufferSize];
    TSetSerialNumberTask serial(QStringLiteral("Ж1"));
    const int length = BuildPacket(serial, buffer);
    EXPECT_EQ(Bytes(buffer, buffer + length), MakePacket(5, {0xD0, 0x96, '1', 0}));
    EXPECT_EQ(serial.SendCount(), 1);

    TGetSerialTask none;
    BuildPacket(none, buffer);
    const Bytes noSerial = MakePacket(6, {0xFF, 'x'});
    EXPECT_EQ(MatchAnswer(none, noSerial.data(), noSerial.size(), &message), kTaskDone);
    EXPECT_TRUE(none.Serial().isEmpty());
}

TEST(TaskQueue, AQueueEndedRightAfterDroppingItsTasksLeavesNothingToRunLater)
{
    // Dropped tasks and a replaced connection are freed on the next turn of the event
    // loop; a queue that ends before that turn (a programmer window closed right after
    // "Отключить") must take those clean-ups with it, or they run on freed memory and
    // the program crashes here.
    {
        auto q = std::make_unique<Queue>();
        q->collector.AddTask(std::make_unique<TGetPackMaxSizeTask>());
        q->collector.Disconnect(); // drops the task
        q->collector.Reset();      // retires the connection
    }
    test::Pump(20);
    SUCCEED();
}
