# The intro's version and date, the latest entry of dist/changelog: the one
# value that the package, the Windows program, the web page and the release all
# carry, and the time (seconds since 1970) that stands for every build time.
changelog=$(dirname "${BASH_SOURCE[0]}")/../dist/changelog
version=$(sed -n '1s/^vintara-intro (\([^)]*\)).*/\1/p' "$changelog")
changelog_epoch=$(date -d "$(sed -n 's/^ -- .*>  //p' "$changelog" | head -1)" +%s)
