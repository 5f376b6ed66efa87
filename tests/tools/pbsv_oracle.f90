! Oracle for the listing of flagged stress data (tests/data/maps/pbsv_oracle.out), written by
! gfortran with the listing's two formats, first with "|" between the columns (the console,
! with its dashed lines), then with TAB characters (any other unit).
!
!   gfortran -O0 -o pbsv_oracle pbsv_oracle.f90 && ./pbsv_oracle > ../data/maps/pbsv_oracle.out
!
! The data (radians, single precision; degrees formed with the program's single-precision
! factor 180/pi, bit pattern 42652EE0):
!   datum 1: isv -3, azshmax 0.7853982, S1 -0.92 0.276, S2 0.6126 -0.1379, S3 1.7331 1.2601
!   datum 2: isv 2 (not flagged, no line)
!   datum 3: isv 0, azshmax 6.2831855, S1 -3.1415927 -1.5707964, S2 0 0, S3 1e-8 -1e-8
program pbsv_oracle
  implicit none
  real :: a(7, 3), deg4
  integer :: isv(3), i, k, k2, bits
  character(len=1) :: sep
  character(len=8), parameter :: words(7) = [character(len=8) :: 'azshmax', 'azim.S1', &
       'plung.S1', 'azim.S2', 'plung.S2', 'azim.S3', 'plung.S3']
  bits = int(z'42652EE0')
  deg4 = transfer(bits, deg4)
  isv = [-3, 2, 0]
  a(:, 1) = [0.7853982, -0.92, 0.276, 0.6126, -0.1379, 1.7331, 1.2601]
  a(:, 2) = [0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7]
  a(:, 3) = [6.2831855, -3.1415927, -1.5707964, 0.0, 0.0, 1e-8, -1e-8]
  do k = 1, 2
    if (k == 1) then
      sep = '|'
      write(*, '(1x,a)') repeat('-', 74)
    else
      sep = char(9)
    end if
    write(*, '(x,a7,a1,a3,10(a1,a8))') 'data nb', sep, 'isv', (sep, trim(words(i)), i = 1, 7)
    if (k == 1) write(*, '(1x,a)') repeat('-', 74)
    do i = 1, 3
      if (isv(i) < 1 .or. isv(i) > 3) then
        write(*, '(x,i7,a1,i3,10(a1,f8.1))') i, sep, isv(i), (sep, a(k2, i) * deg4, k2 = 1, 7)
      end if
    end do
  end do
end program
