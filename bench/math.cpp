// Rotation building, matrix products and Euler extraction: the per-joint,
// per-frame work of the solver and the renderer.
#include "varnel.h"

#include <benchmark/benchmark.h>

namespace {
void RotYXZ(benchmark::State& state)
{
    float angle = 0.1f;
    for (auto _ : state) {
        Matrix rotation = Matrix::RotYXZ(angle, angle * 0.5f, -angle);
        benchmark::DoNotOptimize(rotation);
        angle += 1e-4f;
    }
}
BENCHMARK(RotYXZ);

void MatrixProduct(benchmark::State& state)
{
    Matrix a = Matrix::RotYXZ(0.3f, 0.2f, -0.4f);
    Matrix b = Matrix::RotZXY(-0.1f, 0.7f, 0.25f);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        Matrix product = a * b;
        benchmark::DoNotOptimize(product);
    }
}
BENCHMARK(MatrixProduct);

void MatrixToEulerYXZ(benchmark::State& state)
{
    Matrix rotation = Matrix::RotYXZ(0.3f, 0.2f, -0.4f);
    float y, x, z;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rotation);
        rotation.MatrixToEulerYXZ(&y, &x, &z);
        benchmark::DoNotOptimize(y);
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(z);
    }
}
BENCHMARK(MatrixToEulerYXZ);
} // namespace

BENCHMARK_MAIN();
