#!/usr/bin/env python3
"""Runs the benchmark and prints, per operation, the median time of CComplex
divided by the median time of its standard counterpart.

Usage: tools/benchmark_ratios.py BENCHMARK_BINARY [REPETITIONS]
(ccomplex_benchmark, or ccomplex_arrays_benchmark for the batch operations)
"""
import json
import statistics
import subprocess
import sys

PAIRS = [  # (operation, CComplex benchmark, counterpart benchmark, target or None)
    ("addition", "BM_Add_CComplex", "BM_Add_StdComplex", 1.05),
    ("subtraction", "BM_Subtract_CComplex", "BM_Subtract_StdComplex", 1.05),
    ("multiplication", "BM_Multiply_CComplex", "BM_Multiply_StdComplex", 1.1),
    ("multiply-accumulate", "BM_MultiplyAccumulate_CComplex",
     "BM_MultiplyAccumulate_StdComplex", 1.1),
    ("division", "BM_Divide_CComplex", "BM_Divide_StdComplex", 0.5),
    ("magnitude", "BM_Magnitude_CComplex", "BM_Magnitude_StdComplex", 0.9),
    ("polar", "BM_Polar_CComplex", "BM_Polar_StdComplex", 1.0),
    ("angle", "BM_Angle_CComplex", "BM_Angle_StdComplex", 0.9),
    ("print", "BM_Print_CComplex", "BM_Print_Snprintf", 0.5),
    ("read", "BM_Read_CComplex", "BM_Read_StreamFloats", 0.5),
    ("exp", "BM_Exp<CComplex>", "BM_Exp<std::complex<float>>", 1.0),
    ("log", "BM_Log<CComplex>", "BM_Log<std::complex<float>>", 1.0),
    ("log10", "BM_Log10<CComplex>", "BM_Log10<std::complex<float>>", 1.0),
    ("sqrt", "BM_Sqrt<CComplex>", "BM_Sqrt<std::complex<float>>", 1.0),
    ("pow(z, n), int n", "BM_PowInt<CComplex>", "BM_PowIntAsComplex<std::complex<float>>", 0.5),
    ("pow(z, w), integer w", "BM_PowIntAsComplex<CComplex>",
     "BM_PowIntAsComplex<std::complex<float>>", 0.5),
    ("pow(z, float)", "BM_PowFloat<CComplex>", "BM_PowFloat<std::complex<float>>", 1.0),
    ("pow(z, w)", "BM_PowComplex<CComplex>", "BM_PowComplex<std::complex<float>>", 1.0),
    ("sin", "BM_Sin<CComplex>", "BM_Sin<std::complex<float>>", 1.0),
    ("cos", "BM_Cos<CComplex>", "BM_Cos<std::complex<float>>", 1.0),
    ("tan", "BM_Tan<CComplex>", "BM_Tan<std::complex<float>>", 1.0),
    ("sinh", "BM_Sinh<CComplex>", "BM_Sinh<std::complex<float>>", 1.0),
    ("cosh", "BM_Cosh<CComplex>", "BM_Cosh<std::complex<float>>", 1.0),
    ("tanh", "BM_Tanh<CComplex>", "BM_Tanh<std::complex<float>>", 1.0),
    ("asin", "BM_Asin<CComplex>", "BM_Asin<std::complex<float>>", 1.0),
    ("acos", "BM_Acos<CComplex>", "BM_Acos<std::complex<float>>", 1.0),
    ("atan", "BM_Atan<CComplex>", "BM_Atan<std::complex<float>>", 1.0),
    ("asinh", "BM_Asinh<CComplex>", "BM_Asinh<std::complex<float>>", 1.0),
    ("acosh", "BM_Acosh<CComplex>", "BM_Acosh<std::complex<float>>", 1.0),
    ("atanh", "BM_Atanh<CComplex>", "BM_Atanh<std::complex<float>>", 1.0),
    # Formatting a CComplex against its two floats with the same options,
    # where the build has {fmt} or std::format.
    ("fmt::format {}", "BM_FmtShortest_CComplex", "BM_FmtShortest_Floats", 1.2),
    ("fmt::format {:.3f}", "BM_FmtFixed_CComplex", "BM_FmtFixed_Floats", 1.2),
    ("fmt::format {:>30}", "BM_FmtWidth_CComplex", "BM_FmtWidth_Floats", 1.2),
    ("std::format {}", "BM_FormatShortest_CComplex", "BM_FormatShortest_Floats", 1.2),
    ("std::format {:.3f}", "BM_FormatFixed_CComplex", "BM_FormatFixed_Floats", 1.2),
    ("std::format {:>30}", "BM_FormatWidth_CComplex", "BM_FormatWidth_Floats", 1.2),
    # The counterpart squares in float, fast and far from exact: no target.
    ("pow(z, n) against std::pow(z, n)", "BM_PowInt<CComplex>", "BM_PowInt<std::complex<float>>",
     None),
    # The batch operations (ccomplex_arrays_benchmark): against the
    # std::complex<float> loops built with -O3 -march=native -ffast-math, and
    # against the same loop of scalar CComplex operations.
] + [(f"batch {name}", f"BM_Batch_{op}", f"BM_Std_{op}", target)
     for name, op, target in [
         ("product", "Multiply", 1.5), ("conjugate product", "MultiplyConjugate", 1.5),
         ("scale by a value", "ScaleByValue", 1.5), ("scale by a float", "ScaleByFloat", 1.5),
         ("quotient", "Divide", 3.0), ("magnitude", "Magnitude", 2.0), ("norm", "Norm", 2.0),
         ("angle", "Angle", 3.0), ("polar", "Polar", 0.25), ("exp", "Exp", 0.25),
         ("rotation (std: running phasor)", "Rotate", 0.75), ("dot", "Dot", 3.0),
         ("conjugate dot", "DotConjugate", 3.0)]] + [
    (f"batch {op} against the CComplex loop", f"BM_Batch_{op}", f"BM_Loop_{op}", None)
    for op in ["Multiply", "Divide", "Magnitude", "Angle", "Polar", "Exp", "Rotate", "Dot"]]


def median_times(binary, repetitions, benchmark_filter="."):
    """Median nanoseconds per operation of each benchmark that matches."""
    # Random interleaving runs the repetitions of all benchmarks in a shuffled
    # order, so both sides of a pair see the same machine conditions.
    report = json.loads(subprocess.run(
        [binary, "--benchmark_format=json", f"--benchmark_repetitions={repetitions}",
         "--benchmark_enable_random_interleaving=true", "--benchmark_min_time=0.05",
         f"--benchmark_filter={benchmark_filter}"],
        check=True, capture_output=True, text=True).stdout)
    # Each benchmark counts the operations it performs, so the time of one
    # operation follows from its rate, whatever the number of operands.
    times = {}
    for run in report["benchmarks"]:
        if run.get("run_type") == "iteration":
            times.setdefault(run["run_name"], []).append(1e9 / run["items_per_second"])
    return {name: statistics.median(values) for name, values in times.items()}


def main():
    binary = sys.argv[1]
    repetitions = sys.argv[2] if len(sys.argv) > 2 else "15"
    times = median_times(binary, repetitions)
    print(f"| operation | CComplex ns/op | counterpart ns/op | ratio | target |")
    print(f"|---|---|---|---|---|")
    missed = False
    for name, ours, theirs, target in PAIRS:
        if ours not in times:
            continue  # a formatter this build lacks
        a = times[ours]
        b = times[theirs]
        ratio = a / b
        if target is None:
            print(f"| {name} | {a:.2f} | {b:.2f} | {ratio:.2f} | - |")
            continue
        missed |= ratio > target
        print(f"| {name} | {a:.2f} | {b:.2f} | {ratio:.2f} | {target:.2f}{' MISSED' if ratio > target else ''} |")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
