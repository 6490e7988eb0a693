#!/usr/bin/env python3
"""Builds the benchmark with g++ and clang++ at -O2, -O3 and -O3 -march=native,
runs the loop kernels in each build, and prints the median time of CComplex
over that of std::complex<float> per kernel and build.

Usage: tools/kernel_ratios.py [REPETITIONS]   (from the source tree's root)
"""
import os
import subprocess
import sys

from benchmark_ratios import median_times

KERNELS = [  # (kernel, benchmark name without its type, target)
    ("product", "BM_KernelProduct", 1.1),
    ("dot", "BM_KernelDot", 1.1),
    ("FIR", "BM_KernelFilter", 1.1),
    ("Mandelbrot", "BM_KernelMandelbrot", 1.6),
]
BUILDS = [(cxx, flags) for cxx in ("g++", "clang++")
          for flags in ("-O2", "-O3", "-O3 -march=native")]


def build(cxx, flags):
    """Configures and builds the benchmark; returns the binary's path."""
    directory = os.path.join("build-kernels", cxx + flags.replace(" ", ""))
    # The build type adds no optimisation flags of its own.
    subprocess.run(["cmake", "-S", ".", "-B", directory, f"-DCMAKE_CXX_COMPILER={cxx}",
                    f"-DCMAKE_CXX_FLAGS={flags}", "-DCMAKE_BUILD_TYPE=None"],
                   check=True, capture_output=True)
    subprocess.run(["cmake", "--build", directory, "-j2", "--target", "ccomplex_benchmark"],
                   check=True, capture_output=True)
    return os.path.join(directory, "ccomplex_benchmark")


def main():
    repetitions = sys.argv[1] if len(sys.argv) > 1 else "9"
    print("| build | " + " | ".join(name for name, _, _ in KERNELS) + " |")
    print("|---" * (len(KERNELS) + 1) + "|")
    missed = False
    for cxx, flags in BUILDS:
        times = median_times(build(cxx, flags), repetitions, "Kernel")
        cells = []
        for _, benchmark, target in KERNELS:
            ratio = times[f"{benchmark}<CComplex>"] / times[f"{benchmark}<std::complex<float>>"]
            missed |= ratio > target
            cells.append(f"{ratio:.2f}{' MISSED' if ratio > target else ''}")
        print(f"| {cxx} {flags} | " + " | ".join(cells) + " |")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
