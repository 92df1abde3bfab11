#pragma once

// Two desks on two connections act at the same moment, round after round:
// the shape of every "no two desks can..." test.

#include "db/TMojeDatabaze.h"

#include <QString>
#include <QStringList>
#include <barrier>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

/**
 * Runs work(desk, round) for desks 0 and 1, each on a thread of its own with
 * the connection pripoj(desk) made current there, both released together
 * at every round. Returns the errors the desks met.
 */
inline QStringList souboj(int kola, const std::function<std::unique_ptr<TMojeDatabaze>(int)> &pripoj,
                          const std::function<void(int, int)> &work)
{
    std::barrier start(2);
    QStringList errors;
    std::mutex errorsLock;
    auto desk = [&](int d) {
        std::unique_ptr<TMojeDatabaze> db;
        try {
            db = pripoj(d);
            db->makeCurrent();
        } catch (const std::exception &e) {
            const std::lock_guard guard(errorsLock);
            errors << QString::fromUtf8(e.what());
        }
        for (int round = 0; round < kola; ++round) {
            start.arrive_and_wait();
            if (!db)
                continue;
            try {
                work(d, round);
            } catch (const std::exception &e) {
                const std::lock_guard guard(errorsLock);
                errors << QStringLiteral("desk %1, round %2: ").arg(d).arg(round) + QString::fromUtf8(e.what());
            }
        }
    };
    std::thread other(desk, 1);
    desk(0);
    other.join();
    return errors;
}
