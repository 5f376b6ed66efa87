! Oracle for the Si-Sh lines (tests/data/maps/sish_oracle.out), written with the two formats
! of the Si-Sh file by gfortran.
!
!   gfortran -O0 -o sish_oracle sish_oracle.f90
!   ./sish_oracle ../data/gcmt-samples.ndk ../data/maps/sish_edges.txt > ../data/maps/sish_oracle.out
!   ./sish_oracle ../data/gcmt-samples.ndk ../data/maps/sish_edges.txt check   (margins, not kept)
!
! Output: the header line; then for each event of the ndk file and each of its two nodal
! planes one record whose axes come from the Aki & Richards closed form (double precision):
!   n = (-sin d sin s, sin d cos s, -cos d), slip u = (cos r cos s + sin r cos d sin s,
!   cos r sin s - sin r cos d cos s, -sin r sin d) in North, East, Down;
!   S1 = (u - n)/sqrt 2, S3 = -(u + n)/sqrt 2 (the P and T axis lines, with the ends the
!   program reports), S2 = sin r (strike vector) + cos r (down-dip vector);
!   azimuth = atan2(E, N) in (-180, 180], plunge = asin(D), both kept signed;
!   SHmax by the most-vertical / most-horizontal axis rule (ties within 1e-9 degrees keep
!   the lower axis number), modulo 180, and 0.0 where it would be written 180.0.
! Then one record per line of the edge file, whose values are read in single precision:
!   date time lat lon depth strike dip rake az1 pl1 az2 pl2 az3 pl3 isv azshmax  (dates and
!   times quoted)
! with the angles of the axes and SHmax in radians, turned into degrees with the program's
! single-precision factor 180/pi (bit pattern 42652EE0) as the program does.
! With a third argument "check", every derived value of the ndk records is also printed with
! six decimals, to see how far each one lies from a rounding tie (for the committed file all
! lie at least 0.003 degrees from one, far above the single-precision error of the program).
program sish_oracle
  implicit none
  character(len=256) :: ndk, edges, mode
  character(len=80) :: l1, l2, l3, l4, l5
  character(len=10) :: date, time
  real :: lat, lon, depth
  real :: vals(16)
  real(8) :: ev(16), azd(3), pld(3), shd
  integer :: ios, k, ip, isv
  logical :: check
  real :: r4(13), deg4, az4(3), pl4(3), sh4
  integer :: bits

  call get_command_argument(1, ndk)
  call get_command_argument(2, edges)
  call get_command_argument(3, mode)
  check = trim(mode) == 'check'

  write(*, 100) 'Date', 'Time', 'Latitude', 'Longitude', 'Depth', 'Strike', 'Dip', 'Rake', &
       'S1_azi', 'S1_plg', 'S2_azi', 'S2_plg', 'S3_azi', 'S3_plg', 'Sv', 'AzSHmx'

  open(10, file=trim(ndk), status='old')
  do
    read(10, '(a)', iostat=ios) l1
    if (ios /= 0) exit
    read(10, '(a)') l2
    read(10, '(a)') l3
    read(10, '(a)') l4
    read(10, '(a)') l5
    date = l1(6:15)
    time = l1(17:26)
    read(l1(28:33), '(f6.2)') lat
    read(l1(35:41), '(f7.2)') lon
    read(l1(43:47), '(f5.1)') depth
    ! exponent, then T, N, P (value, plunge, azimuth), scalar moment, two planes
    read(l5(4:80), *) vals
    do ip = 0, 1
      ev(1:3) = dble(vals(11 + 3*ip : 13 + 3*ip))
      call axes(ev(1), ev(2), ev(3), azd, pld)
      call shmax(azd, pld, isv, shd)
      write(*, 200) date, time, lat, lon, depth, real(ev(1)), real(ev(2)), real(ev(3)), &
           (real(azd(k)), real(pld(k)), k = 1, 3), isv, fold(real(shd))
      if (check) write(*, '(a,7f12.6)') ' check', (azd(k), pld(k), k = 1, 3), shd
    end do
  end do
  close(10)

  bits = int(z'42652EE0')
  deg4 = transfer(bits, deg4)
  open(11, file=trim(edges), status='old')
  do
    read(11, *, iostat=ios) date, time, r4(1:12), isv, r4(13)
    if (ios /= 0) exit
    do k = 1, 3
      az4(k) = r4(5 + 2*k) * deg4
      pl4(k) = r4(6 + 2*k) * deg4
    end do
    sh4 = r4(13) * deg4
    sh4 = mod(sh4, 180.0)
    write(*, 200) date, time, r4(1), r4(2), r4(3), r4(4), r4(5), r4(6), &
         (az4(k), pl4(k), k = 1, 3), abs(isv), fold(sh4)
  end do
  close(11)

100 format(1x,a10,1x,a10,1x,a6,1x,a7,1x,a5,1x,a5,1x,a4,1x,a5,3(1x,a6,1x,a5),1x,a2,1x,a6)
200 format(1x,a10,1x,a10,1x,f6.2,1x,f7.2,1x,f5.1,1x,f5.0,1x,f4.0,1x,f5.0,3(1x,f6.1,1x,f5.1), &
           1x,i1,2x,f6.1)

contains

  ! The SHmax field lies in [0, 180) as written: a value whose f6.1 form is 180.0 is 0.
  real function fold(x)
    real, intent(in) :: x
    character(len=6) :: f
    write(f, '(f6.1)') x
    fold = x
    if (f == ' 180.0') fold = 0.0
  end function

  subroutine axes(s, d, r, az, pl)
    real(8), intent(in) :: s, d, r
    real(8), intent(out) :: az(3), pl(3)
    real(8), parameter :: pi = 3.14159265358979323846d0
    real(8) :: sr, dr, rr, n(3), u(3), st(3), dd(3), v(3, 3)
    integer :: j
    sr = s * pi / 180d0
    dr = d * pi / 180d0
    rr = r * pi / 180d0
    n = [-sin(dr) * sin(sr), sin(dr) * cos(sr), -cos(dr)]
    u = [cos(rr) * cos(sr) + sin(rr) * cos(dr) * sin(sr), &
         cos(rr) * sin(sr) - sin(rr) * cos(dr) * cos(sr), -sin(rr) * sin(dr)]
    st = [cos(sr), sin(sr), 0d0]
    dd = [-sin(sr) * cos(dr), cos(sr) * cos(dr), sin(dr)]
    v(:, 1) = (u - n) / sqrt(2d0)
    v(:, 2) = sin(rr) * st + cos(rr) * dd
    v(:, 3) = -(u + n) / sqrt(2d0)
    do j = 1, 3
      az(j) = atan2(v(2, j), v(1, j)) * 180d0 / pi
      pl(j) = asin(max(-1d0, min(1d0, v(3, j)))) * 180d0 / pi
    end do
  end subroutine

  subroutine shmax(az, pl, isv, sh)
    real(8), intent(in) :: az(3), pl(3)
    integer, intent(out) :: isv
    real(8), intent(out) :: sh
    integer :: ih, j
    real(8) :: vmax, vmin
    isv = 0
    ih = 0
    vmax = 0
    vmin = 1000
    ! Plunges equal in exact arithmetic may differ in their last bits: within 1e-9 degrees
    ! they are a tie, and a tie keeps the lower axis number.
    do j = 1, 3
      if (abs(pl(j)) > vmax + merge(0d0, 1d-9, isv == 0)) then
        isv = j
        vmax = abs(pl(j))
      end if
      if (abs(pl(j)) < vmin - 1d-9) then
        ih = j
        vmin = abs(pl(j))
      end if
    end do
    if (ih == 1) then
      sh = az(1)
    else if (ih == 2 .and. isv == 1) then
      sh = az(2)
    else if (ih == 2) then
      sh = az(2) + 90d0
    else
      sh = az(3) + 90d0
    end if
    sh = modulo(sh, 180d0)
  end subroutine

end program
