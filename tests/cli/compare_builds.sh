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
while IFS= read -r arguments; do
    [ -z "$arguments" ] && continue
    # shellcheck disable=SC2086
    linux_out=$("$native" $arguments; echo "status $?")
    # shellcheck disable=SC2086
    windows_out=$("$runner" "$prefix" "$windows" $arguments 2>/dev/null; echo "status $?")
    if [ "$linux_out" = "$windows_out" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "DIFFERENT: $arguments"
        echo "  linux:   $linux_out"
        echo "  windows: $windows_out"
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
spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25 --hero 2 --action call --shover 1 --ranges nash --format json
TABLE
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
