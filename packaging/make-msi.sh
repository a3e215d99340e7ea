#!/usr/bin/env bash
# Builds the Windows installer with wixl from packaging/ostrel.wxs:
#   make-msi.sh OUTPUT.msi VERSION Ostrel.exe Quorvin2.exe pnt.exe setup_actions.dll SOURCE_DIR
# The build target "msi" runs it; the installer's test runs it again with a higher version
# to have an upgrade to install.
set -euo pipefail
output=$1 version=$2 ostrel=$3 helper=$4 pnt=$5 actions=$6 source_dir=$7

work=$(mktemp -d "${output%.msi}.XXXXXX")
trap 'rm -rf "$work"' EXIT

# wixl takes its files by names relative to the source: everything is laid out in one folder.
cp "$source_dir/packaging/ostrel.wxs" "$source_dir"/packaging/README-*.txt "$ostrel" "$helper" "$pnt" "$actions" "$work/"
ln -s "$source_dir/resources/art" "$work/art"

# wixl has no loop: the 55 point icons' components are written out here.
{
  echo '<?xml version="1.0" encoding="utf-8"?>'
  echo '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi"><Fragment><DirectoryRef Id="INSTALLDIR">'
  for n in $(seq -w 1 55); do
    echo "  <Component Id=\"mark$n\" Guid=\"*\" Win64=\"yes\"><File Id=\"mark$n\" Name=\"mark$n.ico\"" \
         "Source=\"art/marks/mark$n.ico\" KeyPath=\"yes\"/></Component>"
  done
  echo '</DirectoryRef><ComponentGroup Id="PointIcons">'
  for n in $(seq -w 1 55); do echo "  <ComponentRef Id=\"mark$n\"/>"; done
  echo '</ComponentGroup></Fragment></Wix>'
} >"$work/icons.wxs"

(cd "$work" && wixl --arch x64 -o ostrel.msi -D Version="$version" ostrel.wxs icons.wxs)
# What wixl cannot write, set in the tables afterwards:
# - the search for HKCR\.pnt's default value (wixl searches only named values), and the
#   condition that leaves another program's association alone;
# - the map-object key, created empty, in a component that uninstall leaves (Permanent);
# - the properties the per-machine part must see as found (wixl lists only its own);
# - a rebuild of the installed version replacing it too, not installed beside it (wixl has
#   no AllowSameVersionUpgrades; the attributes are part of the row's key, so the row is
#   written anew: 513 is migrate features + VersionMax inclusive);
# - the old version's removal inside the upgrade's transaction (after InstallInitialize), so
#   that an upgrade that fails rolls back to the old version instead of leaving none.
upgrade_code=$(msiinfo export "$work/ostrel.msi" Property | tr -d '\r' | sed -n 's/^UpgradeCode\t//p')
fixups=(
  "INSERT INTO \`RegLocator\` (\`Signature_\`, \`Root\`, \`Key\`, \`Type\`) VALUES ('PntOwnerSearch', 0, '.pnt', 2)"
  "INSERT INTO \`AppSearch\` (\`Property\`, \`Signature_\`) VALUES ('PNTOWNER', 'PntOwnerSearch')"
  "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('AppSearch', 50)"
  "INSERT INTO \`InstallUISequence\` (\`Action\`, \`Sequence\`) VALUES ('AppSearch', 50)"
  "UPDATE \`Component\` SET \`Condition\` = 'NOT PNTOWNER OR PNTOWNER = \"Ostrel.PointFile\"' WHERE \`Component\` = 'PointFileOwner'"
  "INSERT INTO \`Registry\` (\`Registry\`, \`Root\`, \`Key\`, \`Name\`, \`Component_\`) VALUES ('MapObjectKey', 2, 'SOFTWARE\\Brannock\\Merlow', '+', 'MapObjectKey')"
  "UPDATE \`Component\` SET \`Attributes\` = 16 WHERE \`Component\` = 'MapObjectKey'"
  "DELETE FROM \`Upgrade\` WHERE \`ActionProperty\` = 'WIX_UPGRADE_DETECTED'"
  "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMax\`, \`Attributes\`, \`ActionProperty\`) VALUES ('$upgrade_code', '$version', 513, 'WIX_UPGRADE_DETECTED')"
  "UPDATE \`InstallExecuteSequence\` SET \`Sequence\` = 1510 WHERE \`Action\` = 'RemoveExistingProducts'"
  "UPDATE \`Property\` SET \`Value\` = 'PNTOWNER;WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED' WHERE \`Property\` = 'SecureCustomProperties'"
)
for query in "${fixups[@]}"; do msibuild "$work/ostrel.msi" -q "$query"; done
mv "$work/ostrel.msi" "$output"
