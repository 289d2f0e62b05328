"""Builds the module bandmatch._bandmatch with the project's CMake build, for pip.

The CMake target bandmatch_python_module compiles the libraries and the pybind11 module for the
interpreter that runs this build (a virtual environment's included); the module is then copied
where setuptools packs it, beside the pure-Python part in python/bandmatch.
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


def project_version():
    """The release of the CMake project, the one version of bandmatch."""
    text = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(bandmatch VERSION ([0-9.]+)", text).group(1)


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        build = Path(self.build_temp).resolve() / "cmake"
        configure = [
            "cmake", "-S", str(ROOT), "-B", str(build),
            "-DCMAKE_BUILD_TYPE=Release",
            f"-DPython3_EXECUTABLE={sys.executable}",
            # A user's compiler may warn where the project's does not; that is no reason to fail.
            "-DBANDMATCH_WARNINGS_AS_ERRORS=OFF",
            "-DBUILD_TESTING=OFF",
            "-DBANDMATCH_BENCHMARKS=OFF",
        ]
        subprocess.run(configure, check=True)
        jobs = str(os.cpu_count() or 1)
        subprocess.run(
            ["cmake", "--build", str(build), "--target", "bandmatch_python_module", "-j", jobs],
            check=True,
        )
        built = list((build / "python" / "bandmatch").glob("_bandmatch*" + self.so_suffix()))
        if len(built) != 1:
            sys.exit("the CMake build made no module bandmatch._bandmatch: are pybind11, NumPy "
                     "and NLopt installed? (bash scripts/test.sh installs them)")
        target = Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built[0], target)

    def so_suffix(self):
        import sysconfig
        return sysconfig.get_config_var("EXT_SUFFIX")


setup(
    version=project_version(),
    packages=["bandmatch"],
    package_dir={"": "python"},
    package_data={"bandmatch": ["py.typed", "*.pyi"]},
    ext_modules=[Extension("bandmatch._bandmatch", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    options={"build": {"build_base": "build-pip"}},
    zip_safe=False,
)
