#!/bin/sh
# The Linux and the Windows builds of ostrel-icm must write the same bytes
# for the same question. Usage: compare_builds.sh NATIVE-PROGRAM WINE-RUNNER PREFIX WINDOWS-PROGRAM
native=$1
runner=$2
prefix=$3
windows=$4
if [ ! -x "$native" ]; then
    echo "no native build at $native: build the native preset first" >&2
    exit 1
fi
passed=0
failed=0
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
while IFS= read -r arguments; do
    [ -z "$arguments" ] && continue
    # shellcheck disable=SC2086
    linux_out=$("$native" $arguments; echo "status $?")
    # shellcheck disable=SC2086
    windows_out=$("$runner" "$prefix" "$windows" $arguments 2>"$errors"; echo "status $?")
    case $windows_out in
    "status "*)
        # Nothing written at all: Wine did not start the program (seen once
        # in many runs, the next run of the same line passing). Once more,
        # saying so.
        if [ "$linux_out" != "$windows_out" ]; then
            echo "again, Wine wrote nothing ($windows_out: $(head -c 300 "$errors")): $arguments"
            # shellcheck disable=SC2086
            windows_out=$("$runner" "$prefix" "$windows" $arguments 2>"$errors"; echo "status $?")
        fi
        ;;
    esac
    if [ "$linux_out" = "$windows_out" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "DIFFERENT: $arguments"
        echo "  linux:   $linux_out"
        echo "  windows: $windows_out"
        echo "  windows' standard error: $(head -c 600 "$errors")"
    fi
done <<'TABLE'
equity --stacks 5000,3000,2000 --prizes 50,30,20 --format json
equity --stacks 1,2147483647,0,5 --prizes 0.01,0.01 --format json
equity --stacks 100,200,300,400,500,600,700,800,900,1000 --prizes 40,25,15,10,5,3,1,0.5,0.25,0.25 --format csv
equity --stacks 1500,2500,3500,900,1200,8000,300,4400,2600,3100,700,5000,2000 --prizes 100,60,40,30,25,20,15,12,10,8,6,4,2 --format json
equity --stacks 3,1,4,1,5,9,2,6,5,3,5,8,9,7,9,3,2,3,8,4,6,2 --prizes 0.1,0.2,0.3,1000.5,7 --method subsets --format json
equity --stacks 999999999999999,1,123456789012345,77 --prizes 1000000,1.5 --format csv
finish --stacks 7000,0,2500,2500,900,12000,2500 --prizes 50,30,20 --format json
finish --stacks 12,7,3,1,19,4,4,8,100,2,2,30 --prizes 1 --method subsets --format csv
equity --stacks 5,abc --prizes 1 --format json
deal --stacks 5000,3000,2000,1234 --prizes 50,30,20,7.5 --split chip --keep 12.5 --round 0.25 --format json
deal --stacks 8000,1000,1000 --prizes 50,30,20 --format csv
bubble --stacks 5000,0,3000,2000,1000,777 --prizes 50,30,20,10 --format json
equity --stacks 8,2,38,4,1,40,4696,1591,1149,7,140,12,4,2,7,5127,2068,1685,1591,5,17,322,846,2621,3312,2,265,486,105,5,78,2,5474,2896,155,15,4319,194,3382,2467,108,45,248,52,4,16,1779,1,1,320,13,137,76,23,9752,6,44,6,339,12,26,972,19,171,4142,2,1,8,1149,289,8,21,5,68,1,615,3834,6590,869,6909,1,14,7311,1261,43,5932,303,1869,14,5,59,3,33,7034,21,1,1,4,1364,28,14,2,8452,49,6,1,1,4,509,3,1,91,9,9784,3,130,1244,43,8925,81,9,43,1,48,9,3607,2109,98,1,10,9,6,8,3011,3,1,5153,182,9168,40,4016,412,1456,952,94,2,6,3127,3972,4992,22,424,1577,371,1816,129,415,554,11,4911,6685,1,7662,7032,471,1,3943,3,7484,466,1,4,347,189,968,5127,7,1,4891,1,3204,2,1735,1354,3247,159,3272,6,485,21,3689,1242,76,127,1,1,238,90,2876,270,3,28,1175,123,1,2242,2042,2,149,33,1411,17,8,88,7330,2,2,304,3478,112,54,2700,1277,1,3351,6,16,2217,48,1560,4,3141,5,3,94,22,147,4133,695,1,17,151,88,728,86,2,9,2456,26,1165,8774,321,509,274,17,4478,73,4422,16,2951,1404,283,58,3,1213,28,444,3,2,3,1722,5,4051,30,201,25,304,2,40,5555,5,414,20,15,1,1,6274,2084,1601,1694,6506,4,217,95,197,5644,1099,7479,2,403 --prizes 150,149,148,147,146,145,144,143,142,141,140,139,138,137,136,135,134,133,132,131,130,129,128,127,126,125,124,123,122,121,120,119,118,117,116,115,114,113,112,111,110,109,108,107,106,105,104,103,102,101,100,99,98,97,96,95,94,93,92,91,90,89,88,87,86,85,84,83,82,81,80,79,78,77,76,75,74,73,72,71,70,69,68,67,66,65,64,63,62,61,60,59,58,57,56,55,54,53,52,51,50,49,48,47,46,45,44,43,42,41,40,39,38,37,36,35,34,33,32,31,30,29,28,27,26,25,24,23,22,21,20,19,18,17,16,15,14,13,12,11,10,9,8,7,6,5,4,3,2,1 --method quadrature --format csv
bubble --players 180 --chips 1500 --prizes 250,150,100 --format json
bubble --stacks 900,100,800,200,700,300,600,400,500,500,400,600,300,700,200,800,100,900,1000,1500 --prizes 5,3,2 --format json
equity --stacks 1500,2500,3500,900,1200,8000,300,4400,2600,3100,700,5000,2000,17,123456 --prizes 100,60,40,30,25,20,15,12,10,8,6,4,2 --method quadrature --format json
finish --stacks 12,7,3,1,19,4,4,8,100,2,2,30 --prizes 1,1,1 --method quadrature --format json
equity --stacks 9,81426,3,70000000001,5,5,5,123456789,44,1,998877,31,2,600000,7,7000000,12,888,40000,3 --prizes 5,0,3,0,1,2,1 --method quadrature --threads 2 --format csv
finish --stacks 1,1000000,300,2 --prizes 5,3
equity --stacks 24.5,30,2.45M --prizes 25%,15% --pool 1000
bubble --players 9 --chips 1500 --prizes 9,8,7,6,5,4,3,2,1 --format json
bubble --stacks 5000,3000,2000,1000 --prizes 50,30,20 --seat 4
deal --stacks 7,7,7 --prizes 0.7,0.2,0.1 --split chip
allin AdAc KhKs --format json
allin 22+,A2s+,K9s+,AJo+ random --format csv
allin AhKh QQ+,AKs JTs --board Qs9h2c --format json
allin random random 15%:0.5,AhKh --samples 200000 --seed 7 --format json
allin AA KK --board Ah7c2d --dead Kd
allin AsKs AsKh --format json
spot --stacks 5000,3000,2000,4000 --prizes 50,30,20 --button 4 --blinds 100,200 --ante 25 --hero 4 --range 1=TT+,AQ+ --range 2=99+,AJ+ --overcall 2=QQ+ --format json
spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25 --hero 3 --action call --shover 2 --range 2=22+,A2+,K9+ --hand AhKd --format json
spot --stacks 9000,4000,2500,7000,3000,1200 --others 3000,4100,2200,900,6000,1500,2500,3500,1800,2700,5200,1300,4400,3900 --prizes 30,20,14,10,8,6 --button 6 --blinds 200,400 --bb-ante 400 --hero 4 --action call --shover 3 --range 3=22+,A2+,K8+ --range 5=TT+,AJ+ --range 6=99+ --range 1=88+,AT+ --range 2=55+,A8+ --overcall 5=KK+ --overcall 6=QQ+ --overcall 1=QQ+ --overcall 2=JJ+,AK --format csv
allin AhKh,AsKs:0.5,QQ,JcTc AdKc:0.3,AcKc,7h6h,TT --format json
allin AhKh,AsKs:0.5,QQ,JcTc AdKc:0.3,AcKc,7h6h,TT --format json
spot --stacks 5000,3000,2000,4000 --prizes 50,30,20 --button 4 --blinds 100,200 --ante 25 --hero 4 --range 1=TT+,AQ+ --range 2=99+,AJ+ --overcall 2=QQ+ --format json
spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25 --hero 3 --action call --shover 2 --range 2=22+,A2+,K9+ --hand AhKd --format json
spot --stacks 9000,4000,2500,7000,3000,1200 --others 3000,4100,2200,900,6000,1500,2500,3500,1800,2700,5200,1300,4400,3900 --prizes 30,20,14,10,8,6 --button 6 --blinds 200,400 --bb-ante 400 --hero 4 --action call --shover 3 --range 3=22+,A2+,K8+ --range 5=TT+,AJ+ --range 6=99+ --range 1=88+,AT+ --range 2=55+,A8+ --overcall 5=KK+ --overcall 6=QQ+ --overcall 1=QQ+ --overcall 2=JJ+,AK --format csv
nash --stacks 1000,1000 --chip-ev --button 1 --blinds 50,100 --format json
nash --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25 --threads 2 --format json
nash --stacks 9000,4000,2500,7000,3000,1200 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25 --format svg
nash --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25 --format csv
spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25 --hero 2 --action call --shover 1 --ranges nash --format json
spot --stacks 5000,3000,2000,4000 --prizes 50,30,20 --button 4 --blinds 100,200 --ante 25 --hero 1 --action overcall --shover 3 --caller 4 --range 3=22+,A2+,K9+ --range 4=TT+,AQ+ --overcall 2=KK+ --draws 3000 --seed 9 --format csv
spot --stacks 5000,3000,2000,4000 --prizes 50,30,20 --button 4 --blinds 100,200 --ante 25 --hero 3 --range 4=TT+,AQ+ --range 1=99+,AJ+ --range 2=88+ --overcall 1=QQ+ --overcall 2=KK+ --shove 4=55+,A9+ --shove 1=22+,A2+,K7+ --format json
spot --stacks 3000,60 --chip-ev --button 1 --blinds 100,200 --hero 1 --hand AhKd --format json
spot --stacks 25bb,15bb,10bb --pool 1000 --prizes 50%,30%,20% --button 1 --blinds 0.5,1 --ante 0.125 --hero BB --action call --shover btn --range BTN=22+,A2+ --hand AJo
nash --stacks 20,7.5 --in-bb --prizes 50,30 --button 1 --blinds 50,100 --show margin --format json
nash --stacks 20bb,7.5bb --prizes 50,30 --button 1 --blinds 50,100 --show margin
deal --stacks 5000,3000,2000 --pool 1234.5 --prizes 50%,30%,20% --round 0.05 --separators
allin AKo vs 22 --format json
TABLE
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
