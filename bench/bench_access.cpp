// The cost of the password hash at the product's interactive limits: storing
// a password pays one hash, every login attempt one verification per stored
// row. Both should stay well under the half second a user notices.
#include <benchmark/benchmark.h>

#include "access/PasswordHash.h"

namespace {

void BM_HashPassword(benchmark::State& state) {
    accesscontrol::SetPasswordHashCost(accesscontrol::HashCost::Interactive);
    for (auto _ : state) {
        benchmark::DoNotOptimize(accesscontrol::HashPassword(QStringLiteral("Κωδικός 1")));
    }
}
BENCHMARK(BM_HashPassword)->Unit(benchmark::kMillisecond);

void BM_VerifyLoginAttempt(benchmark::State& state) {
    accesscontrol::SetPasswordHashCost(accesscontrol::HashCost::Interactive);
    const QString stored = accesscontrol::HashPassword(QStringLiteral("Κωδικός 1"));
    const bool right = state.range(0) == 1;
    const QString typed = right ? QStringLiteral("Κωδικός 1") : QStringLiteral("κωδικός 1");
    for (auto _ : state) {
        benchmark::DoNotOptimize(accesscontrol::PasswordMatches(stored, typed));
    }
}
BENCHMARK(BM_VerifyLoginAttempt)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
