#include "scaled_arithmetic.h"

#include "generator/picture_frame.h"
#include "generator/traversals.h"

#include <thread>
#include <vector>

namespace mandalix::bench {

double computeScaled(const WindowState& state, const PixelFormulas& f, int side, int threads)
{
    std::vector<double> xs;
    for (int k = 0; k < side; ++k)
        xs.push_back(columnToX(state, framedPosition(k, side, side)));
    std::vector<double> sums(static_cast<std::size_t>(threads), 0);
    const auto work = [&](int first) {
        double sum = 0;
        for (int row = first; row < side; row += threads) {
            const double y = rowToY(state, framedPosition(row, side, side));
            for (const double x : xs)
                sum += palettePosition(f, x, y);
        }
        sums[static_cast<std::size_t>(first)] = sum;
    };
    std::vector<std::thread> pool;
    for (int k = 1; k < threads; ++k)
        pool.emplace_back(work, k);
    work(0);
    for (std::thread& thread : pool)
        thread.join();
    double total = 0;
    for (double sum : sums)
        total += sum;
    return total;
}

} // namespace mandalix::bench
