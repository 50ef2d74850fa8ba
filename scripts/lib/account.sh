# shellcheck shell=bash
# The ordinary account that runs Wine when a script is started as root, as CI starts them: Wine run
# as root ignores the Unix write bit, so a read-only file would let through what Windows refuses.
# scripts/setup makes it; as-account runs commands as it. Source it.
account_name=docrecover-wine

# account_make: the account, once, with a home of its own for Wine's files of the user and neither
# password nor shell to log in with.
account_make() {
  id -u "$account_name" >/dev/null 2>&1 ||
    useradd --system --user-group --create-home --home-dir "/var/lib/$account_name" \
      --shell /usr/sbin/nologin "$account_name"
}
