"""The build of pip install . : setuptools for the package, CMake for its extension module.

build_ext configures this source tree with CMake (Release, no tests) for the interpreter
that runs the build, builds the target _tandem (the library and the binding, with the
flags of the tree: no contraction, no fast-math) and puts the module where setuptools
expects it. The version is the project's, from CMakeLists.txt.
"""
import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).resolve().parent


class CMakeExtension(Extension):
    def __init__(self, name):
        super().__init__(name, sources=[])


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        build = Path(self.build_temp).resolve() / "cmake"
        build.mkdir(parents=True, exist_ok=True)
        subprocess.run(["cmake", "-S", str(ROOT), "-B", str(build), "-DCMAKE_BUILD_TYPE=Release",
                        "-DTANDEM_BUILD_TESTS=OFF", "-DTANDEM_BUILD_PYTHON=ON",
                        f"-DPython3_EXECUTABLE={sys.executable}"], check=True)
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL") or str(len(os.sched_getaffinity(0)))
        subprocess.run(["cmake", "--build", str(build), "--target", "_tandem", "--parallel", jobs],
                       check=True)
        suffix = Path(self.get_ext_filename(ext.name)).name.split(".", 1)[1]
        built = build / "python" / "tandem" / f"_tandem.{suffix}"
        target = Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(built, target)


def version():
    text = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(tandem VERSION ([0-9.]+)", text).group(1)


setup(version=version(), ext_modules=[CMakeExtension("tandem._tandem")],
      cmdclass={"build_ext": CMakeBuild})
