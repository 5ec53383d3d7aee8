"""The matplotlib program the render benchmark compares `davodu render` with.

Reads the same curve table and draws every curve as a line in its column at
the same pixel size (100 dpi), the columns side by side with no margins, and
saves a PNG.

    python3 mpl_render.py CURVES.txt OUT.png WIDTH HEIGHT COLUMNS
"""
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402


def main(argv):
    path, out, width, height, columns = argv[1], argv[2], int(argv[3]), int(argv[4]), int(argv[5])
    table = np.loadtxt(path, skiprows=1)
    depth, curves = table[:, 0], table[:, 1:]
    per_column = -(-curves.shape[1] // columns)
    fig, axes = plt.subplots(1, columns, figsize=(width / 100, height / 100), dpi=100, sharey=True)
    fig.subplots_adjust(left=0, right=1, top=1, bottom=0, wspace=0)
    for c in range(curves.shape[1]):
        ax = axes[c // per_column]
        ax.plot(curves[:, c], depth, linewidth=0.72)
    for ax in axes:
        ax.set_ylim(depth[-1], depth[0])
        ax.set_xticks([])
        ax.set_yticks([])
    fig.savefig(out, dpi=100)


if __name__ == "__main__":
    main(sys.argv)
