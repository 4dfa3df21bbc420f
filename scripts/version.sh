# The intro's version, the latest entry of dist/changelog: the one value that
# the package, the Windows program, the web page and the release all carry.
version=$(sed -n '1s/^vintara-intro (\([^)]*\)).*/\1/p' "$(dirname "${BASH_SOURCE[0]}")/../dist/changelog")
